// The main window with the windows its small commands show (the calculator Form3 and the
// reader Form7) made beside it as the program makes them, and a program folder of the test's
// own whose bd/ holds the book files the test packs.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/Files.h"
#include "tests/workbench/main_Fixture.h"
#include "tools/packtext/PackText.h"
#include "workbench/Calculator.h"
#include "workbench/Reader.h"

class ToolWindowsTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Form2 = form.get();
    reader.reset(NewForm<TForm7>(nullptr));
    Form7 = reader.get();
    calculator.reset(NewForm<TForm3>(nullptr));
    Form3 = calculator.get();
    folder = std::filesystem::temp_directory_path() /
             ("zelkar-tools-" +
              std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(folder / "bd");
    SetProgramFolderForTesting(folder.string());
  }
  void TearDown() override {
    SetProgramFolderForTesting("");
    std::filesystem::remove_all(folder);
    Form3 = nullptr;
    Form7 = nullptr;
    Form2 = nullptr;
    calculator.reset();
    reader.reset();
    MainWindowTest::TearDown();
  }

  // The path the book commands look for, as their messages name it.
  std::string BookPath(const std::string& file) { return ProgramPath("bd/" + file); }
  void WriteBook(const std::string& file, const std::string& bytes) {
    std::ofstream out(folder / "bd" / file, std::ios::binary);
    out << bytes;
  }
  static std::string Bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  // Opens a book from the panel; while the reader shows, records its title and text and then
  // closes it as the user does.
  struct Opened {
    bool shown = false;
    std::string title;
    std::string text;
  };
  Opened OpenBook(const std::string& caption) {
    Opened opened;
    dialogs().AnswerModal([&](TForm& shown) {
      opened.shown = &shown == reader.get();
      opened.title = reader->GroupBox1->Caption();
      opened.text = reader->RichEdit1->GetText();
      UserCloseWindow(reader.get());
    });
    if (!CategoryOpen("葵花宝典")) UserClickCategory(form->CategoryButtons1, "葵花宝典");
    Run(caption);
    return opened;
  }
  bool CategoryOpen(const std::string& caption) {
    TCategoryButtons* panel = form->CategoryButtons1;
    for (int i = 0; i < panel->CategoryCount(); ++i)
      if (panel->Categories(i)->Caption() == caption) return !panel->Categories(i)->Collapsed();
    return false;
  }

  std::unique_ptr<TForm7> reader;
  std::unique_ptr<TForm3> calculator;
  std::filesystem::path folder;
};
