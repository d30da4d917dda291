// The main window's small commands: local mean time of a place, the reset to now, the strength
// report, the desktop calculator, the windows shown from the panel, the disclaimer, leaving.
#include <cstdlib>
#include <thread>

#include "browser/REZFrm.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Numbers.h"
#include "tests/platform/core_TempFolder.h"
#include "tests/support/RecordingWebEngine.h"
#include "tests/workbench/tools_Fixture.h"
#include "workbench/logic/LocalMeanTime.h"

namespace {

class SmallCommandsTest : public ToolWindowsTest {
 protected:
  std::string Moment() {
    return form->ComboBox1->GetText() + "-" + form->ComboBox2->GetText() + "-" +
           form->ComboBox3->GetText() + " " + form->ComboBox4->GetText() + ":" +
           form->ComboBox5->GetText();
  }
  std::vector<std::string> Labels() {
    return {form->Label7->Caption(), form->Label9->Caption(), form->Label11->Caption(),
            form->Label17->Caption()};
  }
  void PickPlace(const std::string& place) {
    for (size_t i = 0; i < LongitudePlaces.size(); ++i)
      if (place == LongitudePlaces[i]) return UserPick(form->ComboBox6, static_cast<int>(i));
    FAIL() << U8(place) << " is not in the list";
  }
  void ConvertAt(int y, int mo, int d, int h, int mi, const std::string& place) {
    PickMoment(y, mo, d, h, mi);
    PickPlace(place);
    Run("时间转换");
  }
};

}  // namespace

TEST_F(SmallCommandsTest, TimeConversionShiftsToThePlacesLocalMeanTime) {
  EXPECT_EQ(form->ComboBox6->Items().Count(), 314);
  EXPECT_GBK_EQ(form->ComboBox6->Items()[136], "中国北京(116e25)");
  ConvertAt(2012, 2, 4, 12, 0, "中国北京(116e25)");
  EXPECT_EQ(Moment(), "2012-2-4 11:46");
  ConvertAt(2012, 2, 4, 12, 0, "日本东京(139e46)");
  EXPECT_EQ(Moment(), "2012-2-4 13:19");
  // Into the previous day: the calendar labels follow the new moment.
  ConvertAt(2012, 2, 4, 0, 10, "英国伦敦(000w10)");
  EXPECT_EQ(Moment(), "2012-2-3 16:10");
  const std::vector<std::string> converted = Labels();
  PickMoment(2012, 2, 3, 16, 10);
  EXPECT_EQ(Labels(), converted);
  EXPECT_GBK_EQ(form->Label9->Caption(), "农历:2012-1-12");
  // On the meridian, and with the place cleared by a double click, nothing moves.
  PickMoment(2012, 2, 4, 12, 0);
  form->ComboBox6->SelectAll();
  UserType(form->ComboBox6, "某地(120e00)");
  Run("时间转换");
  EXPECT_EQ(Moment(), "2012-2-4 12:0");
  UserDoubleClick(form->ComboBox6);
  EXPECT_EQ(form->ComboBox6->GetText(), "(e)");
  Run("时间转换");
  EXPECT_EQ(Moment(), "2012-2-4 12:0");
  PickPlace("二：欧洲");
  Run("时间转换");
  EXPECT_EQ(Moment(), "2012-2-4 12:0");
  EXPECT_TRUE(dialogs().Messages().empty());
  // A shift past either end of the calendar's years is refused and changes nothing.
  for (const auto& [moment, place] : {std::pair{"2100-12-31 23:30", "斐济苏瓦(178e25)"},
                                      std::pair{"1900-1-1 0:10", "英国伦敦(000w10)"}}) {
    if (moment[0] == '2')
      PickMoment(2100, 12, 31, 23, 30);
    else
      PickMoment(1900, 1, 1, 0, 10);
    const std::vector<std::string> labels = Labels();
    PickPlace(place);
    dialogs().AnswerMessage();
    Run("时间转换");
    EXPECT_EQ(Moment(), moment);
    EXPECT_EQ(Labels(), labels);
    ASSERT_FALSE(dialogs().Messages().empty());
    EXPECT_NE(dialogs().Messages().back().find("不在1900-2100年之间"), std::string::npos)
        << U8(dialogs().Messages().back());
  }
}

TEST_F(SmallCommandsTest, TimeConversionWithBadInputChangesNothing) {
  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  const std::vector<std::string> labels = Labels();
  form->ComboBox6->SelectAll();
  UserType(form->ComboBox6, "某地(1x6e25)");
  dialogs().AnswerMessage();
  Run("时间转换");
  EXPECT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_EQ(Moment(), "2012-2-4 16:54");
  EXPECT_EQ(Labels(), labels);
  // An hour the day does not have.
  PickPlace("中国北京(116e25)");
  form->ComboBox4->SelectAll();
  dialogs().AnswerMessage();  // the labels may refuse the hour as it is typed
  UserType(form->ComboBox4, "25");
  dialogs().Reset();
  dialogs().AnswerMessage();
  Run("时间转换");
  EXPECT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_EQ(Moment(), "2012-2-4 25:54");
}

// The degrees and minutes are cut from the typed place by bytes; where a cut falls inside a
// double-byte character the message still quotes whole characters of what was typed.
TEST_F(SmallCommandsTest, TimeConversionMessagesQuoteWholeCharacters) {
  PickMoment(2024, 5, 6, 12, 0);
  const std::vector<std::string> labels = Labels();
  form->ComboBox6->SelectAll();
  UserType(form->ComboBox6, "中中e25)");
  dialogs().AnswerMessage();
  Run("时间转换");
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_GBK_EQ(dialogs().Messages()[0], "「中中」不是有效的整数");
  EXPECT_EQ(Moment(), "2024-5-6 12:0");
  EXPECT_EQ(Labels(), labels);
  dialogs().Reset();
  // An emoji is typed in four bytes, 94 39 FC 36: its last digit is no degree, and the place
  // is refused as "某地(12e25)" is, not read as 612 degrees east.
  for (const char* place : {"某地(12e25)", "某😀12e25)"}) {
    form->ComboBox6->SelectAll();
    UserType(form->ComboBox6, place);
    dialogs().AnswerMessage();
    Run("时间转换");
    ASSERT_EQ(dialogs().Messages().size(), 1u) << U8(place);
    EXPECT_NE(BytePosOf("不是有效的整数", dialogs().Messages()[0]), 0)
        << U8(dialogs().Messages()[0]);
    EXPECT_EQ(Moment(), "2024-5-6 12:0");
    EXPECT_EQ(Labels(), labels);
    dialogs().Reset();
  }
  EXPECT_GBK_EQ(form->ComboBox6->GetText(), "某😀12e25)");
  dialogs().AnswerMessage();
  Run("时间转换");
  EXPECT_GBK_EQ(dialogs().Messages().back(), "「😀12」不是有效的整数");
  dialogs().Reset();
  // A date box emptied to be typed anew: the date message, as for the casts.
  PickPlace("中国北京(116e25)");
  form->ComboBox1->SelectAll();
  UserKey(form->ComboBox1, VK_DELETE);
  dialogs().AnswerMessage();
  Run("时间转换");
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_NE(BytePosOf("日期或时间无效", dialogs().Messages()[0]), 0) << U8(dialogs().Messages()[0]);
  EXPECT_EQ(Moment(), "-5-6 12:0");
}

TEST_F(SmallCommandsTest, ClickOnTimeSetsTheClockAndTheLabels) {
  ScopedTestClock clock(EncodeDateTime(2013, 5, 6, 7, 8, 9, 0));
  UserClick(form->Label1);
  EXPECT_EQ(Moment(), "2013-5-6 7:8");
  const std::vector<std::string> labels = Labels();
  PickMoment(2012, 2, 4, 16, 54);
  PickMoment(2013, 5, 6, 7, 8);
  EXPECT_EQ(Labels(), labels);
}

TEST_F(SmallCommandsTest, StrengthReportOfTheLastCast) {
  dialogs().AnswerMessage();
  UserDoubleClick(form->Label8);
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  const std::string before = dialogs().Messages()[0];
  EXPECT_EQ(before.rfind("※年月日时力量※\n※※地支力量※※\n子(鼠):0\n丑(牛):0\n", 0), 0u)
      << U8(before);
  EXPECT_NE(before.find("\n土:0\n五行平均:0"), std::string::npos) << U8(before);

  ASSERT_NO_FATAL_FAILURE(PickStandardMoment());
  SetLines("101101", "000100");
  UserClick(form->Button1);
  dialogs().Reset();
  dialogs().AnswerMessage();
  UserDoubleClick(form->Label8);
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  const std::string after = dialogs().Messages()[0];
  const auto& s = form->Model().Cast.BranchElementStrengths;
  EXPECT_NE(after.find("\n子(鼠):" + FloatToStr(s[1]) + "\n"), std::string::npos) << U8(after);
  EXPECT_NE(after.find("\n地支平均:" + FloatToStr(s[0]) + "\n"), std::string::npos) << U8(after);
  EXPECT_NE(after.find("\n土:" + FloatToStr(s[17] / 2) + "\n"), std::string::npos) << U8(after);
  EXPECT_NE(after, before);
}

TEST_F(SmallCommandsTest, CalculatorStartsFromThePathWithoutAShell) {
  const char* old = std::getenv("PATH");
  const std::string saved = old ? old : "";
  const std::filesystem::path bin = folder / "bin";
  std::filesystem::create_directories(bin);
  const std::filesystem::path marker = folder / "started";
  {
    std::ofstream script(bin / "kcalc");
    script << "#!/bin/sh\necho \"$#\" > '" << marker.string() << "'\n";
  }
  std::filesystem::permissions(bin / "kcalc", std::filesystem::perms::owner_all);
  setenv("PATH", bin.c_str(), 1);
  auto waitForMarker = [&] {
    for (int i = 0; i < 200 && !std::filesystem::exists(marker); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    return std::filesystem::exists(marker);
  };
  Run("数字计算");
  EXPECT_TRUE(waitForMarker());
  std::filesystem::remove(marker);
  form->Action11->Execute();  // "足彩数理" is not on the panel
  EXPECT_TRUE(waitForMarker());
  EXPECT_TRUE(dialogs().Messages().empty());

  setenv("PATH", (folder / "empty").c_str(), 1);
  dialogs().AnswerMessage();
  Run("数字计算");
  setenv("PATH", saved.c_str(), 1);
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  EXPECT_NE(dialogs().Messages()[0].find("没有找到桌面计算器"), std::string::npos)
      << U8(dialogs().Messages()[0]);
}

TEST_F(SmallCommandsTest, PanelWindowsDisclaimerAndLeaving) {
  // The browser window shows without waiting and closes by hiding.
  {
    RecordingWebEngines engines;
    TempFolder settings;
    SetProgramFolderForTesting(settings.Path());
    std::unique_ptr<TMainForm> browser(NewForm<TMainForm>(nullptr));
    SetProgramFolderForTesting("");
    MainForm = browser.get();
    Run("及时赛果");
    EXPECT_TRUE(browser->Visible());
    EXPECT_TRUE(form->Visible());
    browser->Close();
    EXPECT_FALSE(browser->Visible());
    MainForm = nullptr;
  }

  UserClickCategory(form->CategoryButtons1, "系统");
  dialogs().AnswerMessage();
  Run("申明事项");
  ASSERT_EQ(dialogs().Messages().size(), 1u);
  const std::string disclaimer = dialogs().Messages()[0];
  EXPECT_NE(disclaimer.find("Zelkar"), std::string::npos) << U8(disclaimer);
  EXPECT_NE(disclaimer.find("非法赌博"), std::string::npos) << U8(disclaimer);

  Run("退出系统");
  EXPECT_FALSE(form->Visible());
}
