// The browser's menu 系统: the update shows its progress in the window's caption, the notice,
// and leaving the program.
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

TEST_F(BrowserUpdateTest, TheNoticeAndLeavingTheWholeProgram) {
  dialogs().AnswerMessage();
  UserChoose(SystemItem("申明事项"));
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_NE(dialogs().Messages()[0].find("非法赌博"), std::string::npos)
      << U8(dialogs().Messages()[0]);
  UserChoose(SystemItem("退出"));
  EXPECT_TRUE(Application->Terminated());
}

}  // namespace
