// The browser's menu 系统: the update shows its progress in the window's caption, the notice,
// and leaving the program.
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/gui/Threads.h"
#include "tests/browser/BrowserFixture.h"
#include "tests/workbench_logic/UpdateServerFixture.h"
#include "workbench/logic/ReferenceBookFiles.h"
#include "workbench/main.h"

namespace {

std::string Progress(const std::string& what) { return "系统正在升级中........" + what; }

class BrowserUpdateTest : public BrowserTest, protected UpdateServerFixture {
 protected:
  void SetUp() override {
    BrowserTest::SetUp();
    workbench.reset(NewForm<TForm2>(Application, engine));
    Form2 = workbench.get();
    workbench->OnlineUpdateSetup.BaseAddress = server.BaseUrl();
    workbench->OnlineUpdateSetup.PublicKey = maker.PublicKeyHex();
    workbench->OnlineUpdateSetup.ProgramFolder = program.Path();
    workbench->OnlineUpdateSetup.ProgramFile = ProgramFile();
    workbench->OnlineUpdateSetup.StartProgram = [](const std::string&, const std::string&) {
      return true;
    };
  }
  void TearDown() override {
    Form2 = nullptr;
    workbench.reset();
    BrowserTest::TearDown();
  }
  TMenuItem* SystemItem(const std::string& caption) {
    TMenuItem* system = form->MainMenu1->Items()->Items(form->MainMenu1->Items()->Count() - 1);
    for (int i = 0; i < system->Count(); ++i)
      if (system->Items(i)->Caption() == caption) return system->Items(i);
    ADD_FAILURE() << "no item " << U8(caption);
    return nullptr;
  }
  const TLunarEngine engine{};
  std::unique_ptr<TForm2> workbench;
};

TEST_F(BrowserUpdateTest, EachStepReplacesTheCaptionAndAFailedProgramEndsWithAMessage) {
  ServeData(ReferenceBookFiles[0], DataBytes(ReferenceBookFiles[0]));
  // What the caption says while each file is being fetched.
  std::vector<std::string> seen;
  for (const std::string name : ReferenceBookFiles)
    server.OnRequest("/download/bd/" + name,
                     [&] { RunOnGuiThread([&] { seen.push_back(form->Caption()); }); });
  server.OnRequest("/download/Voduravurazivizevo.exe",
                   [&] { RunOnGuiThread([&] { seen.push_back(form->Caption()); }); });
  dialogs().AnswerMessage();  // 即将进行升级，耐心等待!
  dialogs().AnswerMessage();  // 升级失败
  UserChoose(SystemItem("升级"));
  std::vector<std::string> expected;
  for (const std::string name : ReferenceBookFiles)
    expected.push_back(Progress("升级" + name + "文件"));
  expected.push_back(Progress("升级主文件"));
  ASSERT_EQ(seen.size(), expected.size());
  for (size_t i = 0; i < seen.size(); ++i) EXPECT_GBK_EQ(seen[i], expected[i]);
  EXPECT_GBK_EQ(form->Caption(), Progress("升级主文件"));
  ASSERT_EQ(dialogs().Messages().size(), 2u);
  EXPECT_GBK_EQ(dialogs().Messages()[0], "即将进行升级，耐心等待!");
  EXPECT_GBK_EQ(dialogs().Messages()[1], "升级失败");
  EXPECT_EQ(ReadBytes(DataFile(ReferenceBookFiles[0])), DataBytes(ReferenceBookFiles[0]));
  EXPECT_FALSE(Application->Terminated());
}

// The mouse rests on 后退 while the first file comes, its hint shows and goes as the mouse
// moves on: the toolkit closes its hint, which calls nothing off.
TEST_F(BrowserUpdateTest, AHintThatComesAndGoesDuringTheUpdateCallsNothingOff) {
  ServeData(ReferenceBookFiles[0], DataBytes(ReferenceBookFiles[0]));
  std::string hint;
  bool hintGone = false;
  server.OnRequest("/download/bd/" + std::string(ReferenceBookFiles[0]), [&] {
    RunOnGuiThread([&] {
      hint = UserRestMouseOn(form->btn1);
      UserMoveMouseOff(form->btn1);
    });
    // The hint goes a moment later; the watchdog only turns a hang into a failure.
    for (int i = 0; i < 2000 && !hintGone; ++i) {
      RunOnGuiThread([&] { hintGone = !HintShows(); });
      if (!hintGone) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  });
  dialogs().AnswerMessage();  // 即将进行升级，耐心等待!
  dialogs().AnswerMessage();  // 升级失败
  UserChoose(SystemItem("升级"));
  EXPECT_GBK_EQ(hint, "后退");
  EXPECT_TRUE(hintGone);
  EXPECT_GBK_EQ(form->Caption(), Progress("升级主文件"));
  EXPECT_EQ(dialogs().Messages(),
            (std::vector<std::string>{"即将进行升级，耐心等待!", "升级失败"}));
  EXPECT_EQ(ReadBytes(DataFile(ReferenceBookFiles[0])), DataBytes(ReferenceBookFiles[0]));
}

// The browser's update goes the same way: a random copy of a book on the server keeps the one
// the user has, and nothing fetched is left beside it.
TEST_F(BrowserUpdateTest, ABookThatWouldNotOpenKeepsTheOldOne) {
  std::filesystem::create_directory(program / "bd");
  WriteBytes(DataFile("yj.dat"), DataBytes("yj.dat"));
  std::string random(2000, '\0');
  uint32_t seed = 9;
  for (char& c : random) c = static_cast<char>((seed = seed * 1664525 + 1013904223) >> 24);
  ServeData("yj.dat", random);
  ServeData("xc.dat", DataBytes("xc.dat"));
  dialogs().AnswerMessage();  // 即将进行升级，耐心等待!
  dialogs().AnswerMessage();  // 升级失败
  UserChoose(SystemItem("升级"));
  EXPECT_EQ(ReadBytes(DataFile("yj.dat")), DataBytes("yj.dat"));
  EXPECT_EQ(ReadBytes(DataFile("xc.dat")), DataBytes("xc.dat"));
  EXPECT_EQ(FolderListing(program / "bd"), "xc.dat;yj.dat;");
}

TEST_F(BrowserUpdateTest, TheNoticeAndLeavingTheWholeProgram) {
  dialogs().AnswerMessage();
  UserChoose(SystemItem("申明事项"));
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_NE(dialogs().Messages()[0].find("非法赌博"), std::string::npos)
      << U8(dialogs().Messages()[0]);
  UserChoose(SystemItem("退出"));
  EXPECT_TRUE(Application->Terminated());
}

// Closing the browser window while the server keeps silent calls the update off and then
// closes the window; the file under way keeps its old copy, which the new one the server sends
// after its silence would have replaced. Esc does the same but leaves the window open.
TEST_F(BrowserUpdateTest, ClosingTheWindowOrEscDuringAStalledUpdateCallsItOff) {
  std::filesystem::create_directory(program / "bd");
  WriteBytes(DataFile("yj.dat"), "old yj.dat");
  ServeData("yj.dat", DataBytes("yj.dat"));
  server.AnswerAfterSilence("/download/bd/yj.dat", TestHttpServer::kWatchdogSeconds);
  for (const bool close : {false, true}) {
    server.OnRequest("/download/bd/yj.dat", [&] {
      RunOnGuiThread([&] {
        if (close) SaveScreenshot(form, "browser_update_stalled");
        if (close)
          UserCloseWindow(form);
        else
          UserKey(form->PCT, VK_ESCAPE);
      });
    });
    dialogs().AnswerMessage();  // 即将进行升级，耐心等待!
    UserChoose(SystemItem("升级"));
    EXPECT_GBK_EQ(form->Caption(), "升级已取消");
    EXPECT_EQ(form->Visible(), !close);
    EXPECT_EQ(ReadBytes(DataFile("yj.dat")), "old yj.dat");
    EXPECT_EQ(FolderListing(program / "bd"), "yj.dat;");
    EXPECT_EQ(ReadBytes(ProgramFile()), oldProgram);
    EXPECT_FALSE(Application->Terminated());
  }
  EXPECT_EQ(server.RequestCount("/download/bd/yj.dat"), 2);
  EXPECT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(dialogs().Messages(),
            (std::vector<std::string>{"即将进行升级，耐心等待!", "即将进行升级，耐心等待!"}));
}

}  // namespace
