// Chart text and chart fields of a cast. Pillars 丙戌 庚子 甲戌 甲子 (a 甲 day, branches 戌 子 戌
// 子), so the spirits run 青龙 (bottom) .. 玄武 (top).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "tests/workbench_logic/GbkExpect.h"
#include "workbench/logic/Chart.h"

namespace {

const std::string Yang = YangLineCaption;
const std::string Yin = YinLineCaption;

ChartInput Input(std::array<std::string, 6> lines, std::array<bool, 6> moving) {
  ChartInput in;
  // A caption other than the yin one is a yang line, as the workbench reads a line it was given.
  for (int i = 0; i < 6; ++i) in.Yang[i] = lines[i] != Yin;
  in.Moving = moving;
  in.FourPillarsText = "丙戌　庚子　甲戌　甲子";
  in.LunarDateText = "农历:2006-10-20";
  in.XunVoidText = "(日空:申酉,时空:戌亥)";
  in.DateTexts = {"2006", "12", "10", "23", "0"};
  return in;
}

const std::array<std::string, 6> kAllYang = {Yang, Yang, Yang, Yang, Yang, Yang};
const std::array<std::string, 6> kAllYin = {Yin, Yin, Yin, Yin, Yin, Yin};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t from = 0;
  for (size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
    lines.push_back(text.substr(from, at - from));
  EXPECT_EQ(from, text.size()) << "every line ends with CR LF";
  return lines;
}

void ExpectChartLines(const std::string& text, const std::vector<std::string>& expected) {
  const std::vector<std::string> lines = Lines(text);
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_GBK_EQ(lines[i], expected[i]) << "line " << i;
}

const char* const kHeader0 = "公历:2006年12月10日23时0分(农历:2006-10-20)";
const char* const kHeader1 = "干支:丙戌　庚子　甲戌　甲子(日空:申酉,时空:戌亥)";
const char* const kBanner = "Zelkar六爻排盘(http://www.zelkar.net)";

}  // namespace

TEST(CastChart, StaticChart) {
  const ChartCast cast = CastChart(Input(kAllYang, {}), StrengthModel::Factor);
  ExpectChartLines(cast.Text, {kHeader0, kHeader1, kBanner, "乾为天　乾宫　六神", "　",
                               "父母戌土／世　玄武", "兄弟申金／　　白虎", "官鬼午火／　　腾蛇",
                               "父母辰土／应　勾陈", "妻财寅木／　　朱雀", "子孙子水／　　青龙"});
  const ChartFields& f = cast.Fields;
  EXPECT_GBK_EQ(f.ShiBranch, "戌");
  EXPECT_GBK_EQ(f.YingBranch, "辰");
  EXPECT_GBK_EQ(f.PillarBranches, "戌子戌子");
  EXPECT_EQ(f.ShiHitCount, 1);
  EXPECT_EQ(f.YingHitCount, 1);
  const double hits[12] = {1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0};
  for (int k = 0; k < 12; ++k) EXPECT_EQ(f.BranchHitCounts[k], hits[k]) << k;
  EXPECT_GBK_EQ(f.MovingBranch, "");
  EXPECT_GBK_EQ(f.ChangedBranch, "");
  EXPECT_GBK_EQ(f.MovingMark, "");
  EXPECT_GBK_EQ(f.LineBranchText, "");
  EXPECT_GBK_EQ(f.GoalTimeText, "");
  EXPECT_FALSE(f.ShiMoving);
  EXPECT_FALSE(f.YingMoving);
  EXPECT_EQ(f.MovingStrength, 0);
  EXPECT_EQ(f.ChangedStrength, 0);
  // Strengths of 戌 and 辰 against 戌 子 戌 子: 2 + 0.6 + 2 + 0.6 and 0.4 + 0.6 + 0.4 + 0.6.
  EXPECT_GBK_EQ(f.RecommendationText, "推荐,世(世应力量:5.2－2)");
}

// The worked example: all yang, the bottom line moves. 乾为天 changes to 天风姤 in the same
// palace.
TEST(CastChart, BottomLineMoves) {
  const ChartCast cast =
      CastChart(Input(kAllYang, {false, false, false, false, false, true}), StrengthModel::Factor);
  ExpectChartLines(cast.Text,
                   {kHeader0, kHeader1, kBanner, "乾为天　乾宫　　天风姤　乾宫　六神", "　",
                    "父母戌土／世　　父母戌土／　　玄武", "兄弟申金／　　　兄弟申金／　　白虎",
                    "官鬼午火／　　　官鬼午火／应　腾蛇", "父母辰土／应　　兄弟酉金／　　勾陈",
                    "妻财寅木／　　　子孙亥水／　　朱雀", "子孙子水／　○→父母丑土∥世　青龙"});
  const ChartFields& f = cast.Fields;
  EXPECT_GBK_EQ(f.MovingBranch, "子");
  EXPECT_GBK_EQ(f.ChangedBranch, "丑");
  EXPECT_GBK_EQ(f.MovingMark, "○→");
  EXPECT_GBK_EQ(f.ShiBranch, "戌");
  EXPECT_GBK_EQ(f.YingBranch, "辰");
  EXPECT_FALSE(f.ShiMoving);
  EXPECT_FALSE(f.YingMoving);
  EXPECT_GBK_EQ(f.LineBranchText, "辰寅子酉亥丑");
  // 戌土 once in the primary, once (0.6) in 天风姤; 辰土 only in the primary.
  EXPECT_DOUBLE_EQ(f.ShiHitCount, 1.6);
  EXPECT_DOUBLE_EQ(f.YingHitCount, 1.0);
  const double hits[12] = {1, 0.6, 1, 0, 1, 0, 1.6, 0, 1.6, 0.6, 1.6, 0.6};
  for (int k = 0; k < 12; ++k) EXPECT_DOUBLE_EQ(f.BranchHitCounts[k], hits[k]) << k;
}

// All yin, the top line (世 of 坤为地) moves: 山地剥 of the 乾 palace, shown with the 坤 palace's
// relatives.
TEST(CastChart, YinLineMovesOnTheShiLine) {
  const ChartCast cast =
      CastChart(Input(kAllYin, {true, false, false, false, false, false}), StrengthModel::Factor);
  ExpectChartLines(cast.Text,
                   {kHeader0, kHeader1, kBanner, "坤为地　坤宫　　山地剥　乾宫　六神", "　",
                    "子孙酉金∥世※→官鬼寅木／　　玄武", "妻财亥水∥　　　妻财子水∥世　白虎",
                    "兄弟丑土∥　　　兄弟戌土∥　　腾蛇", "官鬼卯木∥应　　官鬼卯木∥　　勾陈",
                    "父母巳火∥　　　父母巳火∥应　朱雀", "兄弟未土∥　　　兄弟未土∥　　青龙"});
  const ChartFields& f = cast.Fields;
  EXPECT_GBK_EQ(f.MovingMark, "※→");
  EXPECT_GBK_EQ(f.MovingBranch, "酉");
  EXPECT_GBK_EQ(f.ChangedBranch, "寅");
  EXPECT_TRUE(f.ShiMoving);
  EXPECT_FALSE(f.YingMoving);
  EXPECT_GBK_EQ(f.LineBranchText, "酉亥丑寅子戌");
}

// 乾为天 with its top (世) and third (应) lines moving: 兑为泽. The fields that follow one line
// come from the lower one; ShiMoving stays set by the upper one.
TEST(CastChart, SeveralMovingLines) {
  const ChartCast cast =
      CastChart(Input(kAllYang, {true, false, false, true, false, false}), StrengthModel::Factor);
  ExpectChartLines(cast.Text,
                   {kHeader0, kHeader1, kBanner, "乾为天　乾宫　　兑为泽　兑宫　六神", "　",
                    "父母戌土／世○→父母未土∥世　玄武", "兄弟申金／　　　兄弟酉金／　　白虎",
                    "官鬼午火／　　　子孙亥水／　　腾蛇", "父母辰土／应○→父母丑土∥应　勾陈",
                    "妻财寅木／　　　妻财卯木／　　朱雀", "子孙子水／　　　官鬼巳火／　　青龙"});
  const ChartFields& f = cast.Fields;
  EXPECT_GBK_EQ(f.MovingBranch, "辰");
  EXPECT_GBK_EQ(f.ChangedBranch, "丑");
  EXPECT_GBK_EQ(f.MovingMark, "○→");
  EXPECT_TRUE(f.ShiMoving);
  EXPECT_TRUE(f.YingMoving);
  EXPECT_GBK_EQ(f.LineBranchText, "戌申午未酉亥");

  // 天风姤 with its fifth and bottom (yin, 丑) lines moving becomes 火天大有 (bottom 子): the
  // bottom line's mark and branches.
  std::array<std::string, 6> lines = kAllYang;
  lines[5] = Yin;
  const ChartFields g =
      CastChart(Input(lines, {false, true, false, false, false, true}), StrengthModel::Factor)
          .Fields;
  EXPECT_GBK_EQ(g.MovingMark, "※→");
  EXPECT_GBK_EQ(g.MovingBranch, "丑");
  EXPECT_GBK_EQ(g.ChangedBranch, "子");
}

TEST(CastChart, HiddenSpiritOnlyInThePrimary) {
  // 天风姤 (111110) with its bottom line moving becomes 乾为天; the reverse has no hidden spirit
  // in the changed title or lines.
  std::array<std::string, 6> gou = kAllYang;
  gou[5] = Yin;
  const ChartCast cast =
      CastChart(Input(gou, {false, false, false, false, false, true}), StrengthModel::Factor);
  const std::vector<std::string> lines = Lines(cast.Text);
  EXPECT_GBK_EQ(lines[3], "伏　　神　天风姤　乾宫　　乾为天　乾宫　六神");
  EXPECT_GBK_EQ(lines[9], "妻财寅木：子孙亥水／　　　妻财寅木／　　朱雀");
  EXPECT_GBK_EQ(lines[10], "　　　　　父母丑土∥世※→子孙子水／　　青龙");

  const ChartCast back =
      CastChart(Input(kAllYang, {false, false, false, false, false, true}), StrengthModel::Factor);
  EXPECT_EQ(Lines(back.Text)[3].find("伏"), std::string::npos);

  // Static: the hidden 寅木 is no line's own branch, so it adds no branch hit.
  const ChartFields f = CastChart(Input(gou, {}), StrengthModel::Factor).Fields;
  EXPECT_EQ(f.BranchHitCounts[2], 0);
  EXPECT_EQ(f.BranchHitCounts[11], 1);  // 亥水 of the same line
  EXPECT_GBK_EQ(f.ShiBranch, "丑");
  EXPECT_GBK_EQ(f.YingBranch, "午");
}

TEST(CastChart, CaptionsOtherThanYinCountAsYang) {
  ChartInput in = Input({"", "x", Yang, "▅▅", Yang, Yin}, {});
  EXPECT_EQ(LineCodeOf(in, false), "111110");
  in.Moving = {true, false, false, false, false, true};
  EXPECT_EQ(LineCodeOf(in, true), "011111");
}

TEST(CastChart, CosineModelBanner) {
  const ChartCast cast = CastChart(Input(kAllYang, {}), StrengthModel::Cosine);
  EXPECT_GBK_EQ(Lines(cast.Text)[2], "Zelkar六爻排盘(http://jg.zelkar.net)");
  // Cosine strengths of 戌 and 辰 against 戌 子 戌 子 (子 is two steps from 戌, six from 辰):
  // 3 + 1 + 0.5 + 1 + 0.5 and 3 - 1 - 0.5 - 1 - 0.5.
  EXPECT_GBK_EQ(cast.Fields.RecommendationText, "推荐,世(世应力量:6－0)");
}

TEST(CastChart, OddsFactors) {
  ChartInput in = Input(kAllYang, {});
  EXPECT_EQ(CastChart(in, StrengthModel::Factor).Fields.ShiOddsFactor, 1);
  EXPECT_EQ(CastChart(in, StrengthModel::Factor).Fields.YingOddsFactor, 1);

  // The side with the lower odds gets the factor above 1: 2.5 x 2 / 4 and 1.5 x 2 / 4.
  in.ShiOdds = "1.5";
  in.YingOdds = "2.5";
  ChartFields f = CastChart(in, StrengthModel::Factor).Fields;
  EXPECT_EQ(f.ShiOddsFactor, 1.25);
  EXPECT_EQ(f.YingOddsFactor, 0.75);
  // 5.2 x 1.25 and 2 x 0.75.
  EXPECT_GBK_EQ(f.RecommendationText, "推荐,世(世应力量:6.5－1.5)");

  // 1.85 and 2.05: 4.1 / 3.9 = 1.0512.. and 3.7 / 3.9 = 0.9487..
  in.ShiOdds = "1.85";
  in.YingOdds = "2.05";
  f = CastChart(in, StrengthModel::Factor).Fields;
  EXPECT_DOUBLE_EQ(f.ShiOddsFactor, 1.05);
  EXPECT_DOUBLE_EQ(f.YingOddsFactor, 0.95);
}

TEST(CastChart, ZeroIsNeverNegative) {
  ChartInput in = Input(kAllYang, {});
  // 世 odds 2, 应 odds 0: the 世 factor is 0 x 2 / 2.
  in.ShiOdds = "2";
  in.YingOdds = "0";
  ChartFields f = CastChart(in, StrengthModel::Factor).Fields;
  EXPECT_EQ(f.ShiOddsFactor, 0);
  EXPECT_GBK_EQ(f.RecommendationText, "推荐,应(世应力量:0－4)");
  // 2 and -0: -0 x 2 / 2 is a negative zero in doubles.
  in.YingOdds = "-0";
  f = CastChart(in, StrengthModel::Factor).Fields;
  EXPECT_FALSE(std::signbit(f.ShiOddsFactor));
  EXPECT_EQ(f.YingOddsFactor, 2);
  // A negative cosine strength times a zero factor: 戌 against four 辰 is 3 - 4 = -1.
  in.FourPillarsText = "丙辰　壬辰　甲辰　戊辰";
  in.ShiOdds = "2";
  f = CastChart(in, StrengthModel::Cosine).Fields;
  EXPECT_FALSE(std::signbit(f.ShiStrength));
  EXPECT_GBK_EQ(f.RecommendationText, "推荐,应(世应力量:0－14)");
}

TEST(CastChart, OddsThatCannotBeUsed) {
  for (const auto& odds : std::vector<std::array<const char*, 2>>{{"0", "0"},
                                                                  {"1", "-1"},
                                                                  {"-2.5", "2.5"},
                                                                  {"1e308", "1e308"},
                                                                  {"1e308", "1"},
                                                                  {"-1", "2"},
                                                                  {"2", "-0.5"},
                                                                  {"-3", "-3"}}) {
    ChartInput in = Input(kAllYang, {});
    in.ShiOdds = odds[0];
    in.YingOdds = odds[1];
    try {
      CastChart(in, StrengthModel::Factor);
      ADD_FAILURE() << odds[0] << " " << odds[1] << " cast";
    } catch (const EConvertError&) {
      ADD_FAILURE() << "not a conversion error";
    } catch (const Exception& e) {
      EXPECT_NE(BytePosOf("赔率", e.Message()), 0) << Readable(e.Message());
      // A negative odd is named in the message.
      for (const char* odd : odds) {
        if (odd[0] == '-') {
          EXPECT_NE(BytePosOf(odd, e.Message()), 0) << Readable(e.Message());
        }
      }
    }
  }
  ChartInput in = Input(kAllYang, {});
  in.ShiOdds = "abc";
  EXPECT_THROW(CastChart(in, StrengthModel::Factor), EConvertError);
  in.ShiOdds = "2";
  in.YingOdds = "";
  EXPECT_THROW(CastChart(in, StrengthModel::Factor), EConvertError);
}
