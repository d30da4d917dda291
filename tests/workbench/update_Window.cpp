// The update command in the window: its lines arrive in the chart box one by one while the
// window keeps painting and takes no other command; it ends with the program replaced and the
// application ending, or with "升级失败" and the program going on.
#include <filesystem>

#include "platform/gui/BusyWork.h"
#include "platform/gui/Threads.h"
#include "tests/workbench/main_Fixture.h"
#include "tests/workbench_logic/UpdateServerFixture.h"
#include "workbench/logic/ReferenceBookFiles.h"

namespace {

std::string Progress(const std::string& what) { return "系统正在升级中........" + what; }

class UpdateWindowTest : public MainWindowTest, protected UpdateServerFixture {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    form->OnlineUpdateSetup.BaseAddress = server.BaseUrl();
    form->OnlineUpdateSetup.PublicKey = maker.PublicKeyHex();
    form->OnlineUpdateSetup.ProgramFolder = program.Path();
    form->OnlineUpdateSetup.ProgramFile = ProgramFile();
    form->OnlineUpdateSetup.StartProgram = [this](const std::string& file,
                                                  const std::string& folder) {
      started.push_back(file + " in " + folder);
      return true;
    };
  }

  void RunUpdate() {
    ASSERT_TRUE(UserClickCategory(form->CategoryButtons1, "系统"));
    Run("在线升级");
  }

  std::vector<std::string> started;
};

TEST_F(UpdateWindowTest, LinesArriveOneByOneWhileTheWindowPaintsThenTheNewProgramTakesOver) {
  // Some books are on the server, the others answer 404.
  std::string fetched;
  for (size_t i = 0; i < ReferenceBookFiles.size(); ++i) {
    fetched += i % 3 == 1 ? '0' : '1';
    if (fetched.back() == '1') ServeData(ReferenceBookFiles[i], DataBytes(ReferenceBookFiles[i]));
  }
  ServeSignedProgram();
  // Halfway, at the request of the 17th file, look at the window as the user sees it and try
  // other commands: a line button and a casting command.
  std::vector<std::string> linesMidway;
  bool onGuiThread = false;
  std::string screenshot;
  const std::string lineBefore = form->Button3->Caption();
  server.OnRequest("/download/bd/lyxz1.dat", [&] {
    RunOnGuiThread([&] {
      onGuiThread = Busy();
      linesMidway = ChartLines();
      UserClick(form->Button3);
      UserClickPanelButton(form->CategoryButtons1, "电脑摇卦");
      screenshot = SaveScreenshot(form.get(), "update_midway");
    });
  });
  dialogs().AnswerMessage();
  dialogs().AnswerMessage();
  RunUpdate();

  EXPECT_TRUE(onGuiThread);
  std::vector<std::string> expected;
  for (size_t i = 0; i < ReferenceBookFiles.size(); ++i) {
    const std::string name = ReferenceBookFiles[i];
    expected.push_back(Progress("升级" + name + "文件"));
    expected.push_back(Progress(name + (fetched[i] == '1' ? "升级成功" : "升级失败")));
  }
  expected.push_back(Progress("升级主文件"));
  // Sixteen files done, the seventeenth asked for and nothing after it.
  ASSERT_EQ(linesMidway.size(), 33u);
  for (size_t i = 0; i < linesMidway.size(); ++i) EXPECT_GBK_EQ(linesMidway[i], expected[i]);
  EXPECT_NE(screenshot, "");
  EXPECT_GBK_EQ(form->Button3->Caption(), lineBefore);  // the clicks went nowhere
  const std::vector<std::string> lines = ChartLines();
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_GBK_EQ(lines[i], expected[i]);

  EXPECT_EQ(dialogs().Messages(),
            (std::vector<std::string>{"即将进行升级，耐心等待!", "升级成功"}));
  EXPECT_EQ(ReadBytes(ProgramFile()), newProgram);
  EXPECT_EQ(started, (std::vector<std::string>{ProgramFile() + " in " + program.Path()}));
  EXPECT_TRUE(Application->Terminated());
  for (size_t i = 0; i < ReferenceBookFiles.size(); ++i)
    EXPECT_EQ(std::filesystem::exists(DataFile(ReferenceBookFiles[i])), fetched[i] == '1')
        << ReferenceBookFiles[i];
}

TEST_F(UpdateWindowTest, WithNoServerTheProgramSaysSoAndGoesOn) {
  form->OnlineUpdateSetup.BaseAddress = "http://127.0.0.1:9";
  dialogs().AnswerMessage();
  dialogs().AnswerMessage();
  RunUpdate();
  const std::vector<std::string> lines = ChartLines();
  ASSERT_EQ(lines.size(), 69u);
  for (size_t i = 0; i < 34; ++i) {
    EXPECT_GBK_EQ(lines[2 * i], Progress("升级" + std::string(ReferenceBookFiles[i]) + "文件"));
    EXPECT_GBK_EQ(lines[2 * i + 1], Progress(std::string(ReferenceBookFiles[i]) + "升级失败"));
  }
  EXPECT_GBK_EQ(lines[68], Progress("升级主文件"));
  EXPECT_EQ(dialogs().Messages(),
            (std::vector<std::string>{"即将进行升级，耐心等待!", "升级失败"}));
  EXPECT_TRUE(std::filesystem::is_directory(program / "bd"));
  EXPECT_FALSE(Application->Terminated());
  EXPECT_TRUE(started.empty());
  EXPECT_NE(SaveScreenshot(form.get(), "update_failed"), "");
  // The window takes commands again.
  const std::string line = form->Button3->Caption();
  UserClick(form->Button3);
  EXPECT_NE(form->Button3->Caption(), line);
}

// A copy on the server that the reader would not open keeps the book the user has; the chart
// box's line says which file was refused and why.
TEST_F(UpdateWindowTest, ABookThatWouldNotOpenIsRefusedInItsLine) {
  std::filesystem::create_directory(program / "bd");
  const std::string good = DataBytes("yj.dat");
  WriteBytes(DataFile("yj.dat"), good);
  ServeData("yj.dat", good.substr(0, good.size() - 6));  // its checksum cut off
  ServeData("xc.dat", DataBytes("xc.dat"));
  dialogs().AnswerMessage();
  dialogs().AnswerMessage();
  RunUpdate();
  const std::vector<std::string> lines = ChartLines();
  ASSERT_EQ(lines.size(), 69u);
  EXPECT_GBK_EQ(lines[1], Progress("yj.dat升级失败：文件不完整，保留原文件"));
  EXPECT_GBK_EQ(lines[3], Progress("xc.dat升级成功"));
  EXPECT_GBK_EQ(lines[5], Progress("xg.dat升级失败"));
  EXPECT_EQ(ReadBytes(DataFile("yj.dat")), good);
  EXPECT_EQ(ReadBytes(DataFile("xc.dat")), DataBytes("xc.dat"));
  EXPECT_EQ(FolderListing(program / "bd"), "xc.dat;yj.dat;");
  EXPECT_NE(SaveScreenshot(form.get(), "update_refused_book"), "");
}

TEST_F(UpdateWindowTest, DownloadAndShortPathAnswerQuietly) {
  ServeData("gs.dat", "001010203040506");
  const std::string target = program / "gs.dat";
  EXPECT_TRUE(form->DownloadToFile(server.Url("/download/bd/gs.dat"), target));
  EXPECT_EQ(ReadBytes(target), "001010203040506");
  // Failures show no message (an unexpected dialog would fail the test).
  EXPECT_FALSE(form->DownloadToFile("http//bad address", target));
  EXPECT_FALSE(form->DownloadToFile(server.Url("/download/bd/none.dat"), target));
  EXPECT_EQ(ReadBytes(target), "001010203040506");

  EXPECT_EQ(form->ShortPathName(program / "missing"), "");
  EXPECT_EQ(form->ShortPathName(program / "./Qeva"),
            std::filesystem::canonical(ProgramFile()).string());
}

// Against a server that goes silent, the user gives up on the update: closing the window, or
// Esc in it, ends the transfer under way, keeps the old file and program, and a closed window
// closes once the update has ended. The server answers only after a silence a transfer that was
// called off never sees the end of, with a new file that would replace the old one.
class StalledUpdateTest : public UpdateWindowTest {
 protected:
  void SetUp() override {
    UpdateWindowTest::SetUp();
    std::filesystem::create_directory(program / "bd");
    WriteBytes(DataFile("yj.dat"), "old yj.dat");
    ServeData("yj.dat", DataBytes("yj.dat"));
    server.AnswerAfterSilence("/download/bd/yj.dat", TestHttpServer::kWatchdogSeconds);
  }
  // Runs the update, doing `act` as the user once the first file is asked for.
  void RunUpdateAndWhileItStalls(const std::function<void()>& act) {
    server.OnRequest("/download/bd/yj.dat", [&] {
      RunOnGuiThread([&] {
        screenshot = SaveScreenshot(form.get(), "update_stalled");
        act();
      });
    });
    dialogs().AnswerMessage();  // 即将进行升级，耐心等待!
    RunUpdate();
  }
  void ExpectCalledOffAtTheFirstFile() {
    const std::vector<std::string> lines = ChartLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_GBK_EQ(lines[0], Progress("升级yj.dat文件"));
    EXPECT_GBK_EQ(lines[1], "升级已取消");
    EXPECT_EQ(dialogs().Messages(), (std::vector<std::string>{"即将进行升级，耐心等待!"}));
    EXPECT_EQ(server.Requests(), (std::vector<std::string>{"/download/bd/yj.dat"}));
    EXPECT_EQ(ReadBytes(DataFile("yj.dat")), "old yj.dat");
    EXPECT_EQ(FolderListing(program / "bd"), "yj.dat;");  // nothing fetched left behind
    EXPECT_EQ(ReadBytes(ProgramFile()), oldProgram);
    EXPECT_EQ(program.Listing(), "Qeva;bd;");
    EXPECT_TRUE(started.empty());
    EXPECT_FALSE(Busy());
  }
  std::string screenshot;
};

TEST_F(StalledUpdateTest, ClosingTheWindowCallsTheUpdateOffAndThenCloses) {
  RunUpdateAndWhileItStalls([&] {
    UserCloseWindow(form.get());
    EXPECT_TRUE(form->Visible());  // not before the update has ended
  });
  EXPECT_FALSE(form->Visible());
  ExpectCalledOffAtTheFirstFile();
  EXPECT_NE(screenshot, "");
}

TEST_F(StalledUpdateTest, EscCallsTheUpdateOffAndTheWindowGoesOn) {
  RunUpdateAndWhileItStalls([&] { UserKey(form->RichEdit1, VK_ESCAPE); });
  EXPECT_TRUE(form->Visible());
  EXPECT_FALSE(Application->Terminated());
  ExpectCalledOffAtTheFirstFile();
  EXPECT_NE(SaveScreenshot(form.get(), "update_cancelled"), "");
  // The window takes commands again.
  const std::string line = form->Button3->Caption();
  UserClick(form->Button3);
  EXPECT_NE(form->Button3->Caption(), line);
}

}  // namespace
