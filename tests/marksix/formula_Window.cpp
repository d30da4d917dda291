// The formula window: the file fetched from the update server on every showing, the captions
// it gives, and the test of a draw's six regular numbers.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/GbkText.h"
#include "platform/gui/BusyWork.h"
#include "platform/gui/Download.h"
#include "platform/gui/Threads.h"
#include "tests/marksix/MarkSixFixture.h"
#include "tests/marksix_logic/FormulaSample.h"

namespace {

// The sample with its first formula's record changed: a newer file on the server.
std::string NewerFormulaFile() {
  std::string newer = SampleFormulaFile();
  newer.replace(0, 3, "777");
  return newer;
}

class FormulaWindow : public MarkSixTest {
 protected:
  void SetUp() override {
    MarkSixTest::SetUp();
    PickMoment(2008, 6, 1);
  }
  void Open() {
    Form8->Show();
    ProcessEvents();
  }
  void Reopen() {
    Form8->Close();
    Open();
  }
  void Type(std::initializer_list<const char*> numbers) {
    const auto edits = {Form8->Edit1, Form8->Edit2, Form8->Edit3,
                        Form8->Edit4, Form8->Edit5, Form8->Edit6};
    auto text = numbers.begin();
    for (TEdit* edit : edits) {
      edit->SetText("");
      UserType(edit, *text++);
    }
  }
  std::string Caption(int k) { return Form8->FormulaBoxes[k - 1]->Caption(); }
  // No box is given a line break or another control character to draw.
  void ExpectCaptionsOnOneLine() {
    for (int k = 1; k <= 12; ++k)
      for (char c : Caption(k))
        EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            << k << " " << U8(Caption(k));
  }
  void TickOnly(std::initializer_list<int> formulas) {
    for (int k = 1; k <= 12; ++k) {
      bool wanted = false;
      for (int f : formulas) wanted = wanted || f == k;
      if (Form8->FormulaBoxes[k - 1]->Checked() != wanted) UserClick(Form8->FormulaBoxes[k - 1]);
    }
  }
  static std::string Survivors(int count, const std::vector<int>& numbers) {
    std::string text = "下期公式预测开" + std::to_string(count) + "码:";
    for (int n : numbers) text += std::to_string(n) + " ";
    return text;
  }
  static std::vector<int> AllBut(std::initializer_list<int> struck) {
    std::vector<int> numbers;
    for (int n = 1; n <= 49; ++n)
      if (std::find(struck.begin(), struck.end(), n) == struck.end()) numbers.push_back(n);
    return numbers;
  }
};

TEST_F(FormulaWindow, WithoutAnyFileTheCaptionsAreTheLetters) {
  Open();  // the server has no gs.dat: 404
  EXPECT_GBK_EQ(Form8->Caption(), "系★★★★★级绝密资料,严禁外泄任何人(平码从小往大排列)");
  EXPECT_EQ(Form8->ClientWidth(), 653);
  EXPECT_EQ(Form8->ClientHeight(), 432);
  EXPECT_TRUE(DirectoryExists(ProgramPath("bd")));
  EXPECT_FALSE(FileExists(ProgramPath("bd/gs.dat")));
  EXPECT_EQ(Server().RequestCount(kFormulaPath), 1);
  for (int k = 1; k <= 12; ++k) {
    EXPECT_EQ(Caption(k), std::string("公式") + char('A' + k - 1));
    EXPECT_TRUE(Form8->FormulaBoxes[k - 1]->Checked());
  }
  const char* groups[7] = {"杀生肖公式", "杀尾数公式", "杀五行公式", "杀头公式",
                           "杀合数公式", "杀支数公式", "杀支尾公式"};
  for (int g = 0; g < 7; ++g) EXPECT_GBK_EQ(Form8->FormulaGroups[g]->Caption(), groups[g]);
  EXPECT_GBK_EQ(Form8->Label1->Caption(), "验证预测，从小到大输入平码：");
  EXPECT_GBK_EQ(Form8->BitBtn1->Caption(), "验证预测");
}

TEST_F(FormulaWindow, EveryShowingFetchesTheFileAndCaptionsItsRecords) {
  ServeFormulaFile(SampleFormulaFile());
  std::atomic<bool> busyWhileFetching{false};
  Server().OnRequest(kFormulaPath, [&] { busyWhileFetching = Busy(); });
  Open();
  EXPECT_TRUE(busyWhileFetching);  // the busy cursor is up and no command starts meanwhile
  EXPECT_FALSE(Busy());
  EXPECT_EQ(ReadFile("bd/gs.dat"), SampleFormulaFile());
  EXPECT_GBK_EQ(Caption(1),
                "公式Ａ连准101期:(平码一*01+平码二*02+平码三*03+平码四*04+平码五*05+平码六*06)"
                "/49余数的生肖=下期杀肖");
  EXPECT_GBK_EQ(Caption(12),
                "公式Ｌ连准112期:(平码一*12+平码二*13+平码三*14+平码四*15+平码五*16+平码六*17)"
                "/49余数的支尾=下期杀支尾");
  ServeFormulaFile(NewerFormulaFile());
  Reopen();
  EXPECT_EQ(Server().RequestCount(kFormulaPath), 2);
  EXPECT_GBK_EQ(ByteCopy(Caption(1), 1, 13), "公式Ａ连准777");
}

TEST_F(FormulaWindow, AFailedFetchKeepsTheOlderFileAndItsCaptions) {
  WriteFile("bd/gs.dat", SampleFormulaFile());
  Server().AnswerStatus(kFormulaPath, 404);
  Open();
  EXPECT_EQ(ReadFile("bd/gs.dat"), SampleFormulaFile());
  EXPECT_GBK_EQ(ByteCopy(Caption(2), 1, 13), "公式Ｂ连准102");
  Form8->Close();
  Server().AnswerCutShort(kFormulaPath, "999", 500);  // a transfer broken off
  Open();
  EXPECT_EQ(ReadFile("bd/gs.dat"), SampleFormulaFile());
  EXPECT_GBK_EQ(ByteCopy(Caption(2), 1, 13), "公式Ｂ连准102");
}

// A server that goes silent is given up after the stall time (a moment here), before it would
// send the newer file it holds, and the window opens with the file already there.
TEST_F(FormulaWindow, ASilentServerIsGivenUpAndTheWindowOpens) {
  WriteFile("bd/gs.dat", SampleFormulaFile());
  ServeFormulaFile(NewerFormulaFile());
  Server().AnswerAfterSilence(kFormulaPath, TestHttpServer::kWatchdogSeconds);
  SetDownloadTimeoutsForTesting({2000, 1000});
  Open();
  SetDownloadTimeoutsForTesting({});
  EXPECT_TRUE(Form8->Visible());
  EXPECT_EQ(ReadFile("bd/gs.dat"), SampleFormulaFile());
  EXPECT_GBK_EQ(ByteCopy(Caption(1), 1, 13), "公式Ａ连准101");
}

// Against a server that goes silent, the opening waits in a small window the user can close,
// leave with Esc or cancel: the transfer ends and the formula window opens with the file
// already there, not with the newer one the server sends only after its silence.
TEST_F(FormulaWindow, TheWaitForASilentServerCanBeCalledOffAndTheWindowOpens) {
  using namespace std::chrono_literals;
  WriteFile("bd/gs.dat", SampleFormulaFile());
  ServeFormulaFile(NewerFormulaFile());
  Server().AnswerAfterSilence(kFormulaPath, TestHttpServer::kWatchdogSeconds);
  // The last way closes the main window: the wait ends and the window closes after it.
  const std::function<void()> ways[] = {UserCloseBusyWaitWindow, UserEscBusyWaitWindow,
                                        UserClickBusyWaitCancel, [] { UserCloseWindow(Form2); }};
  int way = 0;
  for (const auto& act : ways) {
    std::string text;
    Server().OnRequest(kFormulaPath, [&] {
      // The wait window comes after a moment; the user acts once it shows.
      bool shows = false;
      for (int i = 0; i < 1000 && !shows; ++i) {
        RunOnGuiThread([&] { shows = BusyWaitWindowShows(); });
        if (!shows) std::this_thread::sleep_for(20ms);
      }
      RunOnGuiThread([&] {
        if (shows) text = BusyWaitWindowText();
        if (shows && way == 0) SaveBusyWaitWindowScreenshot("formula_wait");
        act();
      });
    });
    Open();
    EXPECT_GBK_EQ(text, "正在下载公式文件,请稍候......\n取消则使用已有的公式文件。");
    EXPECT_FALSE(BusyWaitWindowShows());
    EXPECT_FALSE(Busy());
    EXPECT_TRUE(Form8->Visible()) << way;
    EXPECT_EQ(ReadFile("bd/gs.dat"), SampleFormulaFile());
    int files = 0;  // nothing fetched is left behind
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(Folder() + "/bd"))
      ++files;
    EXPECT_EQ(files, 1);
    EXPECT_GBK_EQ(ByteCopy(Caption(1), 1, 13), "公式Ａ连准101");
    Form8->Close();
    ++way;
  }
  EXPECT_EQ(Server().RequestCount(kFormulaPath), 4);
  EXPECT_FALSE(Form2->Visible());
}

TEST_F(FormulaWindow, TheDrawOfOneToSixAgainstTheSampleFormulas) {
  ServeFormulaFile(SampleFormulaFile());
  Open();
  Type({"1", "2", "3", "4", "5", "6"});
  UserClick(Form8->BitBtn1);
  EXPECT_GBK_EQ(Caption(1),
                "公式Ａ连准101期:(1*01+2*02+3*03+4*04+5*05+6*06)=00091,除以49的余数42属"
                "06肖,下期杀:06肖.");
  EXPECT_GBK_EQ(Caption(4),
                "公式Ｄ连准104期:(1*04+2*05+3*06+4*07+5*08+6*09)=000154除以49的余数07属"
                "7尾,下期杀:7尾.");
  EXPECT_GBK_EQ(Caption(6),
                "公式Ｆ连准106期:(1*06+2*07+3*08+4*09+5*10+6*11)=000196,除以49的余数49属"
                "土,下期五行杀:土");
  EXPECT_GBK_EQ(Form8->Memo2->GetText(),
                Survivors(11, {9, 12, 13, 16, 31, 34, 36, 39, 43, 45, 46}));
  EXPECT_NE(SaveScreenshot(Form8, "form8_test"), "");
}

TEST_F(FormulaWindow, UntickedFormulasStrikeNothingButTheirCaptionsAreRewritten) {
  ServeFormulaFile(SampleFormulaFile());
  Open();
  TickOnly({});
  Type({"1", "2", "3", "4", "5", "6"});
  UserClick(Form8->BitBtn1);
  EXPECT_GBK_EQ(Form8->Memo2->GetText(), Survivors(49, AllBut({})));
  for (int k = 1; k <= 12; ++k)
    EXPECT_NE(Caption(k).find(":(1*"), std::string::npos) << Readable(Caption(k));
}

TEST_F(FormulaWindow, RemaindersOf49AndOf12) {
  ServeFormulaFile(SampleFormulaFile());
  Open();
  TickOnly({1});
  Type({"1", "1", "1", "1", "1", "22"});  // 15 + 6 x 22 = 147 = 3 x 49
  UserClick(Form8->BitBtn1);
  EXPECT_GBK_EQ(Caption(1).substr(Caption(1).find(")=")),
                ")=000147,除以49的余数49属01肖,下期杀:01肖.");
  EXPECT_GBK_EQ(Form8->Memo2->GetText(), Survivors(44, AllBut({1, 13, 25, 37, 49})));
  Type({"1", "1", "1", "1", "1", "24"});  // 159 = 3 x 49 + 12
  UserClick(Form8->BitBtn1);
  EXPECT_GBK_EQ(Caption(1).substr(Caption(1).find(")=")),
                ")=000159,除以49的余数12属12肖,下期杀:12肖.");
  EXPECT_GBK_EQ(Form8->Memo2->GetText(), Survivors(45, AllBut({12, 24, 36, 48})));
}

TEST_F(FormulaWindow, BadNumbersChangeNothing) {
  ServeFormulaFile(SampleFormulaFile());
  Open();
  Type({"1", "2", "3", "4", "5", "6"});
  UserClick(Form8->BitBtn1);
  const std::string caption = Caption(1);
  const std::string result = Form8->Memo2->GetText();
  for (const char* bad : {"", "0", "50", "-1", "99"}) {
    Type({"1", "2", "3", "4", "5", "6"});
    Form8->Edit3->SetText(bad);
    dialogs().AnswerMessage();
    UserClick(Form8->BitBtn1);
    EXPECT_EQ(dialogs().Messages().back(), std::string("平码输入有误!")) << bad;
    EXPECT_EQ(Caption(1), caption);
    EXPECT_EQ(Form8->Memo2->GetText(), result);
  }
  // Not a whole number: the conversion error.
  Type({"1", "2", "3", "4", "5", "6."});
  EXPECT_EQ(Form8->Edit6->GetText(), "6.");
  dialogs().AnswerMessage();
  UserClick(Form8->BitBtn1);
  EXPECT_EQ(dialogs().Messages().back(), std::string("「6.」不是有效的整数"));
  EXPECT_EQ(Caption(1), caption);
  EXPECT_EQ(Form8->Memo2->GetText(), result);
}

TEST_F(FormulaWindow, NumberBoxesTakeDigitsMinusAndPointOnlyTwoOfThem) {
  Open();
  UserType(Form8->Edit1, "a1");
  EXPECT_EQ(Form8->Edit1->GetText(), "1");
  UserType(Form8->Edit1, "23");
  EXPECT_EQ(Form8->Edit1->GetText(), "12");
  UserType(Form8->Edit2, "x-.");
  EXPECT_EQ(Form8->Edit2->GetText(), "-.");
  UserType(Form8->Edit3, "１ 4");  // full width and blank are dropped
  EXPECT_EQ(Form8->Edit3->GetText(), "4");
  UserKey(Form8->Edit3, VK_BACK);
  EXPECT_EQ(Form8->Edit3->GetText(), "");
}

// The key filter keeps digits: a character outside GBK, whose four bytes hold two digits, is
// refused whole (pasted, its four bytes do not fit the box). A lone sign is refused with the
// number message.
TEST_F(FormulaWindow, AnEmojiOrALoneSignIsNoNumber) {
  ServeFormulaFile(SampleFormulaFile());
  Open();
  UserType(Form8->Edit1, "😀1");
  EXPECT_EQ(Form8->Edit1->GetText(), "1");
  UserType(Form8->Edit2, "𠀀");
  EXPECT_EQ(Form8->Edit2->GetText(), "");
  Type({"1", "2", "3", "4", "5", "6"});
  UserClick(Form8->BitBtn1);
  const std::string caption = Caption(1);
  const std::string result = Form8->Memo2->GetText();
  Form8->Edit4->SetText("😀");
  EXPECT_EQ(Form8->Edit4->GetText(), "");
  for (const char* bad : {"-", "+"}) {
    Type({"1", "2", "3", "4", "5", "6"});
    Form8->Edit4->SetText(bad);
    dialogs().Reset();
    dialogs().AnswerMessage();
    UserClick(Form8->BitBtn1);
    ASSERT_EQ(dialogs().Messages().size(), 1u) << bad;
    EXPECT_GBK_EQ(dialogs().Messages()[0], "「" + std::string(bad) + "」不是有效的整数");
    EXPECT_EQ(Caption(1), caption);
    EXPECT_EQ(Form8->Memo2->GetText(), result);
  }
}

TEST_F(FormulaWindow, AFileGoneBeforeTheTestRestoresTheLettersAndSaysWhatToDo) {
  ServeFormulaFile(SampleFormulaFile());
  Open();
  Form8->Memo2->SetText("earlier");
  DeleteFile(ProgramPath("bd/gs.dat"));
  Type({"1", "2", "3", "4", "5", "6"});
  dialogs().AnswerMessage();
  UserClick(Form8->BitBtn1);
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_GBK_EQ(dialogs().Messages()[0],
                "文件不存在:" + ProgramPath("bd/gs.dat") + ",请先在线升级!");
  EXPECT_EQ(Caption(1), "公式A");
  EXPECT_EQ(Caption(12), "公式L");
  EXPECT_EQ(Form8->Memo2->GetText(), "earlier");
}

// A first record followed by a line break and eleven more: every later record starts two
// characters late, so its run count takes the break and its last coefficient the next record's.
// The model keeps the records as read; the boxes show each caption on its one line, the break
// as a space.
TEST_F(FormulaWindow, ALineBreakInsideTheRecordsShiftsThemAndTheTestReadsThemShifted) {
  std::string file = "001010203040506\r\n";
  for (int i = 0; i < 11; ++i) file += "001010203040506";
  ASSERT_EQ(file.size(), 182u);
  ServeFormulaFile(file);
  Open();
  EXPECT_GBK_EQ(ByteCopy(Form8->Model().Captions[1], 1, 16), "公式Ｂ连准\r\n0期:");
  EXPECT_GBK_EQ(ByteCopy(Caption(2), 1, 15), "公式Ｂ连准 0期:");
  ExpectCaptionsOnOneLine();
  EXPECT_NE(SaveScreenshot(Form8, "form8_shifted_file_opened"), "");
  Type({"1", "2", "3", "4", "5", "6"});
  UserClick(Form8->BitBtn1);
  EXPECT_TRUE(dialogs().Messages().empty());
  EXPECT_GBK_EQ(Form8->Model().Captions[1],
                "公式Ｂ连准\r\n0期:(1*01+2*01+3*02+4*03+5*04+6*05)=00071,除以49的余数22属10肖,"
                "下期杀:10肖.");
  EXPECT_GBK_EQ(Caption(2),
                "公式Ｂ连准 0期:(1*01+2*01+3*02+4*03+5*04+6*05)=00071,除以49的余数22属10肖,"
                "下期杀:10肖.");
  ExpectCaptionsOnOneLine();
  EXPECT_NE(SaveScreenshot(Form8, "form8_shifted_file_tested"), "");
  EXPECT_GBK_EQ(Form8->Memo2->GetText(),
                "下期公式预测开17码:3 5 7 9 11 16 17 19 33 35 37 38 39 41 47 48 49 ");
  // The break between the second and third record of the sample shifts from the third on.
  std::string sample = SampleFormulaFile();
  sample.insert(30, "\r\n");
  ServeFormulaFile(sample);
  Reopen();
  EXPECT_GBK_EQ(ByteCopy(Caption(2), 1, 13), "公式Ｂ连准102");
  EXPECT_GBK_EQ(ByteCopy(Caption(3), 1, 14), "公式Ｃ连准 1期");
  ExpectCaptionsOnOneLine();
  UserClick(Form8->BitBtn1);
  EXPECT_TRUE(dialogs().Messages().empty());
  EXPECT_GBK_EQ(Caption(3).substr(Caption(3).find(":(")),
                ":(1*03+2*03+3*04+4*05+5*06+6*07)=000113,"
                "除以49的余数15属03肖,下期杀:03肖.");
}

// A file too short for twelve records, or with a coefficient that is not two digits, is
// refused by the test with the file's name; the opening shows what it holds. (Such a file is
// never fetched: it is one left in bd/ from before.)
TEST_F(FormulaWindow, AShortOrDamagedFileIsNamedAndChangesNothing) {
  Server().AnswerStatus(kFormulaPath, 404);
  WriteFile("bd/gs.dat", "0010102");
  Open();
  EXPECT_GBK_EQ(Caption(1),
                "公式Ａ连准001期:(平码一*01+平码二*02+平码三*+平码四*+平码五*+平码六*)"
                "/49余数的生肖=下期杀肖");
  const std::string caption = Caption(1);
  Form8->Memo2->SetText("earlier");
  Type({"1", "2", "3", "4", "5", "6"});
  dialogs().AnswerMessage();
  UserClick(Form8->BitBtn1);
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_GBK_EQ(dialogs().Messages()[0], "文件已损坏:" + ProgramPath("bd/gs.dat"));
  EXPECT_EQ(Caption(1), caption);
  EXPECT_EQ(Form8->Memo2->GetText(), "earlier");
  EXPECT_NE(SaveScreenshot(Form8, "form8_short_file"), "");

  // Cut short, a letter where a coefficient stands, no text at all.
  for (const std::string& file :
       {SampleFormulaFile().substr(0, 179), SampleFormulaFile().replace(170, 2, "1x"),
        std::string(180, '\0'), std::string(300, '\xff')}) {
    WriteFile("bd/gs.dat", file);
    Reopen();
    dialogs().AnswerMessage();
    UserClick(Form8->BitBtn1);
    EXPECT_GBK_EQ(dialogs().Messages().back(), "文件已损坏:" + ProgramPath("bd/gs.dat"));
    EXPECT_EQ(Form8->Memo2->GetText(), "earlier");
  }
  EXPECT_EQ(dialogs().Messages().size(), 5u);
}

// A copy on the server that would not serve the window's test (cut short, a letter where a
// coefficient stands, random bytes, nothing) never replaces the file in use: the window opens
// with the older file and its captions, and nothing fetched is left beside it. A good copy still
// replaces it.
TEST_F(FormulaWindow, ACopyThatWouldNotReadLeavesTheFileInUse) {
  WriteFile("bd/gs.dat", SampleFormulaFile());
  std::string random(400, '\0');
  uint32_t seed = 3;
  for (char& c : random) c = static_cast<char>((seed = seed * 1664525 + 1013904223) >> 24);
  for (const std::string& file :
       {NewerFormulaFile().substr(0, 150), NewerFormulaFile().replace(170, 2, "1x"), random,
        std::string()}) {
    ServeFormulaFile(file);
    Reopen();
    EXPECT_EQ(ReadFile("bd/gs.dat"), SampleFormulaFile());
    EXPECT_GBK_EQ(ByteCopy(Caption(1), 1, 13), "公式Ａ连准101");
  }
  EXPECT_EQ(Server().RequestCount(kFormulaPath), 4);
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(Folder() + "/bd"))
    ++files;
  EXPECT_EQ(files, 1u);
  ServeFormulaFile(NewerFormulaFile());
  Reopen();
  EXPECT_EQ(ReadFile("bd/gs.dat"), NewerFormulaFile());
  EXPECT_GBK_EQ(ByteCopy(Caption(1), 1, 13), "公式Ａ连准777");
}

// The main window's update, wired as the main block wires it, checks gs.dat as this window
// reads it: a copy cut short keeps the file in use and the update's line says why.
TEST_F(FormulaWindow, TheUpdateKeepsTheFileInUseWhenTheServersCopyWouldNotRead) {
  WriteFile("bd/gs.dat", SampleFormulaFile());
  ServeFormulaFile(NewerFormulaFile().substr(0, 170));
  struct Lines : UpdateProgress {
    void Show(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
  } lines;
  dialogs().AnswerMessage();  // 即将进行升级，耐心等待!
  dialogs().AnswerMessage();  // 升级失败: the server has no program
  Form2->RunUpdate(lines);
  EXPECT_NE(std::find(lines.shown.begin(), lines.shown.end(),
                      "系统正在升级中........gs.dat升级失败：文件不完整，保留原文件"),
            lines.shown.end());
  EXPECT_EQ(ReadFile("bd/gs.dat"), SampleFormulaFile());
  Open();  // the server still has the cut copy
  EXPECT_GBK_EQ(ByteCopy(Caption(1), 1, 13), "公式Ａ连准101");
}

}  // namespace
