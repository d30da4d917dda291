// The three Mark Six windows beside a real main window, made as the program makes them at
// start (the globals point at them) and freed after each test. A moment is chosen in the main
// window's date boxes as a user picks it; the program folder is a folder of the test, and the
// update server the formula window fetches from is a local test server serving its server/.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "marksix/Unit4.h"
#include "marksix/Unit5.h"
#include "marksix/Unit8.h"
#include "marksix/logic/KillFormula.h"
#include "platform/Files.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TestHttpServer.h"
#include "tests/workbench/main_Fixture.h"

class MarkSixTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    char pattern[] = "/tmp/zelkar-marksix-XXXXXX";
    const char* made = mkdtemp(pattern);
    ASSERT_NE(made, nullptr);
    folder_ = made;
    SetProgramFolderForTesting(folder_);
    server_ = std::make_unique<TestHttpServer>(folder_ + "/server");
    MakeWindows();
    Form2->Show();
    ProcessEvents();
  }
  void TearDown() override {
    FreeWindows();
    server_.reset();
    SetProgramFolderForTesting("");
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
    GuiTest::TearDown();
  }

  void PickMoment(int year, int month, int day, int hour = 12, int minute = 0) {
    PickMomentIn(*Form2, year, month, day, hour, minute);
  }

  // A file of the test folder (relative path), created with its folders.
  void WriteFile(const std::string& relative, const std::string& bytes) {
    const std::filesystem::path path = folder_ + "/" + relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  std::string ReadFile(const std::string& relative) {
    std::ifstream in(folder_ + "/" + relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  const std::string& Folder() const { return folder_; }
  // A main window made but never shown (its calendar labels have not been computed), with the
  // number windows on its model.
  void ReplaceMainWindowUnshown() {
    FreeWindows();
    MakeWindows();
  }
  TestHttpServer& Server() { return *server_; }
  // What the server answers for the formula file.
  static constexpr const char* kFormulaPath = "/download/bd/gs.dat";
  void ServeFormulaFile(const std::string& bytes) { WriteFile("server/download/bd/gs.dat", bytes); }

 private:
  // As the program's main block makes and wires them.
  void MakeWindows() {
    Form2 = NewForm<TForm2>(Application, engine_);
    Form2->OnlineUpdateSetup.BaseAddress = server_->BaseUrl();
    Form4 = NewForm<TForm4>(Application, Form2->Model(), *Form2->Action4);
    Form2->MarkSixCalculator = Form4;
    Form5 = NewForm<TForm5>(Application, Form2->Model());
    Form2->OnlineUpdateSetup.FormulaFileFault = KillFormulaFileFault;
    Form8 = NewForm<TForm8>(Application, Form2->Model(), Form2->OnlineUpdateSetup);
  }
  void FreeWindows() {
    delete Form8;
    delete Form5;
    delete Form4;
    delete Form2;
    Form8 = nullptr;
    Form5 = nullptr;
    Form4 = nullptr;
    Form2 = nullptr;
  }

  const TLunarEngine engine_{};
  std::string folder_;
  std::unique_ptr<TestHttpServer> server_;
};
