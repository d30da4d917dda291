// A browser window per test, made as the application makes it, with its settings file in a
// folder of the test's own and, unless a test asks for the real web engine, recording engines
// behind every page.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "browser/AddFrm.h"
#include "browser/REZFrm.h"
#include "platform/Files.h"
#include "tests/platform/core_TempFolder.h"
#include "tests/support/GuiTest.h"
#include "tests/support/RecordingWebEngine.h"
#include "tests/workbench_logic/GbkExpect.h"

class BrowserTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    if (UseRecordingEngines()) engines.emplace();
    Build();
  }
  void TearDown() override {
    Free();
    engines.reset();
    GuiTest::TearDown();
  }
  virtual bool UseRecordingEngines() const { return true; }

  // Makes the two windows anew (after a test wrote a settings file to read).
  void Build() {
    Free();
    SetProgramFolderForTesting(folder.Path());
    form = NewForm<TMainForm>(nullptr);
    SetProgramFolderForTesting("");
    MainForm = form;
    addForm = NewForm<TAddURLForm>(nullptr);
    AddURLForm = addForm;
    form->Show();
    ProcessEvents();
  }
  void Free() {
    delete addForm;
    addForm = nullptr;
    if (form) form->BeforeDestruction();  // as the application frees it: writes the open tabs
    delete form;
    form = nullptr;
  }

  std::string ConfigFile() const { return folder / "UloConfig.ini"; }
  std::string ConfigText() const {
    return FileExists(ConfigFile()) ? ReadWholeFile(ConfigFile()) : std::string();
  }
  TTabs* Tab(int index) const { return dynamic_cast<TTabs*>(form->PCT->Pages(index)); }
  TTabs* Active() const { return dynamic_cast<TTabs*>(form->PCT->ActivePage()); }
  TRecordingWebEngine& Page(TTabs* tab) { return RecordingWebEngines::Of(tab->Browser); }
  // What a page sends once it is loaded.
  void Finish(TTabs* tab, const std::string& title) {
    Page(tab).title = title;
    tab->Browser->DoDownloadBegin();
    tab->Browser->DoProgressChange(100, 100);
    tab->Browser->DoDownloadComplete();
  }
  // Types into the address box and presses Enter.
  void Enter(const std::string& text) {
    form->RCbbURL->SetText("");
    UserType(form->RCbbURL, text);
    UserKey(form->RCbbURL, VK_RETURN);
  }

  std::optional<RecordingWebEngines> engines;
  TempFolder folder;
  TMainForm* form = nullptr;
  TAddURLForm* addForm = nullptr;
};
