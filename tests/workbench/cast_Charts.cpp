// Casts through the window, compared with charts worked out by hand from the hexagram rules
// (najia branches, relatives against the palace, 世 and 应 by the place in the palace, hidden
// spirits from the palace's pure hexagram) and the strength formula over the factor table.
#include <cmath>

#include "platform/gui/Clipbrd.h"
#include "tests/workbench/main_Fixture.h"
#include "workbench/logic/HexagramTables.h"

namespace {

// 4 February 2012 16:54: 壬辰 壬寅 乙未 甲申, branches 辰 寅 未 申; the day 乙 puts 青龙 on the
// bottom line; empty branches 辰巳 (day) and 午未 (hour).
//
// Factor strengths against 辰 寅 未 申, 子 .. 亥 (sum of the four table rows' columns):
// 4.3 3.7 4.6 4.7 4.8 4.0 3.3 4.8 5.4 5.6 3.7 4.0; they sum to 52.9, threshold 4.40.
const double kStrengths2012[18] = {4.4, 4.3, 3.7, 4.6, 4.7, 4.8, 4.0, 3.3, 4.8,
                                   5.4, 5.6, 3.7, 4.0, 11,  9.3, 8.3, 7.3, 17};

const char* const kHeader2012[3] = {"公历:2012年2月4日16时54分(农历:2012-1-13)",
                                    "干支:壬辰　壬寅　乙未　甲申(日空:辰巳,时空:午未)",
                                    "Zelkar六爻排盘(http://www.zelkar.net)"};

class CastCharts : public MainWindowTest {};

// 水火既济 (010101), 坎 palace, place 3: 世 on line 3, 应 on line 6. 妻财 (火) is missing; 坎为水
// holds it as 午火 on line 3, so the chart carries the hidden-spirit column.
// Odds 1.8 and 2.2: factors 2.2 x 2 / 4 = 1.1 and 1.8 x 2 / 4 = 0.9.
// 世 亥: 4.0 x 1.1 = 4.4; 应 子: 4.3 x 0.9 = 3.87.
TEST_F(CastCharts, NoMovingLine) {
  PickMoment(2012, 2, 4, 16, 54);
  SetLines("010101");
  form->Edit3->SetText("1.8");
  form->Edit4->SetText("2.2");
  Clipboard()->SetAsText("");
  UserClick(form->Button1);

  ExpectChart({kHeader2012[0], kHeader2012[1], kHeader2012[2], "伏　　神　水火既济坎宫　六神", "　",
               "　　　　　兄弟子水∥应　玄武", "　　　　　官鬼戌土／　　白虎",
               "　　　　　父母申金∥　　腾蛇", "妻财午火：兄弟亥水／世　勾陈",
               "　　　　　官鬼丑土∥　　朱雀", "　　　　　子孙卯木／　　青龙"});
  ExpectRecommendation("推荐,世(世应力量:4.4－3.87)");
  EXPECT_GBK_EQ(Clipboard()->AsText(), Reading());

  EXPECT_GBK_EQ(form->Model().Cast.ShiBranch, "亥");
  EXPECT_GBK_EQ(form->Model().Cast.YingBranch, "子");
  EXPECT_GBK_EQ(form->Model().Cast.PillarBranches, "辰寅未申");
  EXPECT_DOUBLE_EQ(form->Model().Cast.ShiOddsFactor, 1.1);
  EXPECT_DOUBLE_EQ(form->Model().Cast.YingOddsFactor, 0.9);
  EXPECT_DOUBLE_EQ(form->ShiStrength, 4.4);
  EXPECT_DOUBLE_EQ(form->YingStrength, 3.87);
  for (int k = 0; k < 18; ++k)
    EXPECT_DOUBLE_EQ(form->Model().Cast.BranchElementStrengths[k], kStrengths2012[k]) << k;
  EXPECT_EQ(form->Model().Cast.ShiHitCount, 1);
  EXPECT_EQ(form->Model().Cast.YingHitCount, 1);
  EXPECT_EQ(form->Model().Cast.MovingStrength, 0);
  EXPECT_EQ(form->Model().Cast.ChangedStrength, 0);
  EXPECT_GBK_EQ(form->Model().Cast.GoalTimeText, "");
  EXPECT_GBK_EQ(form->Model().Cast.MovingBranch, "");
  EXPECT_GBK_EQ(form->LineBranchText, "");
  EXPECT_FALSE(form->Model().Cast.ShiMoving);
  EXPECT_FALSE(form->Model().Cast.YingMoving);
}

// 火天大有 (101111), 乾 palace, place 7: 世 on line 3, 应 on line 6; its third line (yang,
// 世) moves: 火泽睽 (101011) of the 艮 palace, its lines re-labelled for 乾 (金).
//
// 世 辰 moves (mode 5). 辰 is empty in the day's decade and neither the month (寅) nor the day
// (未) branch, so the day term 1.5 is halved: 2 + 0.5 + 0.75 + 0.8 = 4.05. Changed 丑: support
// (2 + 0.5 + 0.4 + 0.8) / 4 = 0.925, effect on 辰 2 x 0.925 = 1.85; 4.05 + 1.85 = 5.9.
// 应 巳 (mode 6): 0.4 + 1.5 + 1.6 / 2 + 0.5 = 3.2; moving 辰: support 4.8 / 4 = 1.2, effect
// 0.4 x 1.2 = 0.48; changed 丑: 0.4 x 0.925 = 0.37; 3.2 + (0.48 + 0.37) / 2 = 3.625, a tie the
// doubles settle at 3.62.
// Moving 辰 4.8 >= threshold 4.4: 大; a yang line and 4.8 >= changed 丑 3.7: 单.
// Goal times from the day 未: 辰 is 10, 丑 7: 3, 17, 93, 107, 60, 80, 30, 170.
TEST_F(CastCharts, OneMovingLineOnTheShiLine) {
  PickMoment(2012, 2, 4, 16, 54);
  SetLines("101111", "000100");
  UserClick(form->Button1);

  ExpectChart({kHeader2012[0], kHeader2012[1], kHeader2012[2], "火天大有乾宫　　火泽睽　艮宫　六神",
               "　", "官鬼巳火／应　　官鬼巳火／　　玄武", "父母未土∥　　　父母未土∥　　白虎",
               "兄弟酉金／　　　兄弟酉金／世　腾蛇", "父母辰土／世○→父母丑土∥　　勾陈",
               "妻财寅木／　　　妻财卯木／　　朱雀", "子孙子水／　　　官鬼巳火／应　青龙"});
  const std::string recommendation =
      "推荐:大单,世(世应力量:5.9－3.62,足球进球时间: 17 30 60 80 93)";
  ExpectRecommendation(recommendation);
  EXPECT_GBK_EQ(Clipboard()->AsText(), Reading());

  EXPECT_GBK_EQ(form->Model().Cast.MovingMark, "○→");
  EXPECT_GBK_EQ(form->Model().Cast.MovingBranch, "辰");
  EXPECT_GBK_EQ(form->Model().Cast.ChangedBranch, "丑");
  EXPECT_TRUE(form->Model().Cast.ShiMoving);
  EXPECT_FALSE(form->Model().Cast.YingMoving);
  EXPECT_GBK_EQ(form->Model().Cast.ShiBranch, "辰");
  EXPECT_GBK_EQ(form->Model().Cast.YingBranch, "巳");
  EXPECT_GBK_EQ(form->LineBranchText, "辰寅子丑卯巳");
  EXPECT_GBK_EQ(form->Model().Cast.GoalTimeText, " 17 30 60 80 93");
  EXPECT_DOUBLE_EQ(form->ShiStrength, 5.9);
  EXPECT_DOUBLE_EQ(form->YingStrength, 3.62);
  EXPECT_DOUBLE_EQ(form->Model().Cast.MovingStrength, 4.8);
  EXPECT_DOUBLE_EQ(form->Model().Cast.ChangedStrength, 3.7);
  EXPECT_EQ(form->Model().Cast.ShiOddsFactor, 1);
  EXPECT_EQ(form->Model().Cast.YingOddsFactor, 1);
  for (int k = 0; k < 18; ++k)
    EXPECT_DOUBLE_EQ(form->Model().Cast.BranchElementStrengths[k], kStrengths2012[k]) << k;
  // 辰土 once in the primary; 巳火 once in the primary and twice (0.6 each) in 火泽睽.
  EXPECT_DOUBLE_EQ(form->Model().Cast.ShiHitCount, 1);
  EXPECT_DOUBLE_EQ(form->Model().Cast.YingHitCount, 2.2);
  const double hits[12] = {1, 0.6, 1, 0.6, 1, 2.2, 0, 1.6, 0, 1.6, 0, 0};
  for (int k = 0; k < 12; ++k)
    EXPECT_DOUBLE_EQ(form->Model().Cast.BranchHitCounts[k], hits[k]) << k;

  // The window's strength routines weigh against this cast's moving line and empty branches,
  // as the numerology casts use them.
  EXPECT_DOUBLE_EQ(form->Model().Strength("辰", 5), 5.9);
  EXPECT_DOUBLE_EQ(form->Model().Strength("巳", 6), 3.62);
  EXPECT_DOUBLE_EQ(form->Model().Strength("辰", 4), 4.8);
  EXPECT_EQ(BranchDistance("辰", "未"), 10);
  EXPECT_GBK_EQ(SixRelativeOf("乾", "子孙酉金／世"), "兄弟酉金／世");
}

// 10 December 2006 23:30 turns to the next day: 丙戌 庚子 甲戌 甲子 (a 甲 day, 青龙 at the
// bottom), empty branches 申酉 and 戌亥; the lunar date stays that of the 10th.
// 地天泰 (000111), 坤 palace, place 3: 世 line 3, 应 line 6; 父母 (火) missing, 坤为地 holds it
// as 巳火 on line 2. Lines 6 (应, yin), 4 (yin) and 2 (yang) move: 离为火 (101101).
// Strengths against 戌 子 戌 子: 5 2.2 4.2 4 2 4 3.8 5.2 4.8 4.8 5.2 5, sum 50.2, threshold 4.18.
// The lowest moving line (2, 寅 -> 丑) gives the moving fields; 应 moves on line 6.
// 世 辰 (mode 6): 0.4 + 0.6 + 0.4 + 0.6 = 2; moving 寅: support 4.2 / 4 = 1.05, effect
// 0.5 x 1.05 = 0.525; changed 丑: support 2.2 / 4 = 0.55, effect 2 x 0.55 = 1.1;
// 2 + (0.525 + 1.1) / 2 = 2.8125 -> 2.81, times the odds factor 1.5 x 2 / 4 = 0.75: 2.1075 -> 2.11.
// 应 酉 (mode 5): 1.6 + 0.8 + 1.6 + 0.8 = 4.8; changed 丑: 1.5 x 0.55 = 0.825; 5.625, a tie the
// doubles settle at 5.62; times 2.5 x 2 / 4 = 1.25: 7.025, settled at 7.02.
// Moving 寅 4.2 >= 4.18: 大; a yang line and 4.2 >= 丑 2.2: 单.
// Goal times from the day 戌: 寅 is 5, 丑 4: 1, 9, 46, 54, 35, 45, 10, 90.
TEST_F(CastCharts, SeveralMovingLines) {
  PickMoment(2006, 12, 10, 23, 30);
  SetLines("000111", "101010");
  form->Edit3->SetText("2.5");
  form->Edit4->SetText("1.5");
  UserClick(form->Button1);

  ExpectChart(
      {"公历:2006年12月10日23时30分(农历:2006-10-20)",
       "干支:丙戌　庚子　甲戌　甲子(日空:申酉,时空:戌亥)", "Zelkar六爻排盘(http://www.zelkar.net)",
       "伏　　神　地天泰　坤宫　　离为火　离宫　六神", "　",
       "　　　　　子孙酉金∥应※→父母巳火／世　玄武", "　　　　　妻财亥水∥　　　兄弟未土∥　　白虎",
       "　　　　　兄弟丑土∥　※→子孙酉金／　　腾蛇", "　　　　　兄弟辰土／世　　妻财亥水／应　勾陈",
       "父母巳火：官鬼寅木／　○→兄弟丑土∥　　朱雀",
       "　　　　　妻财子水／　　　官鬼卯木／　　青龙"});
  const std::string recommendation =
      "推荐:大单,应(世应力量:2.11－7.02,足球进球时间: 10 35 45 46 54 90)";
  ExpectRecommendation(recommendation);
  EXPECT_GBK_EQ(Clipboard()->AsText(), Reading());

  EXPECT_GBK_EQ(form->Model().Cast.MovingMark, "○→");
  EXPECT_GBK_EQ(form->Model().Cast.MovingBranch, "寅");
  EXPECT_GBK_EQ(form->Model().Cast.ChangedBranch, "丑");
  EXPECT_FALSE(form->Model().Cast.ShiMoving);
  EXPECT_TRUE(form->Model().Cast.YingMoving);
  EXPECT_GBK_EQ(form->LineBranchText, "酉亥丑巳未酉");
  EXPECT_DOUBLE_EQ(form->Model().Cast.ShiOddsFactor, 0.75);
  EXPECT_DOUBLE_EQ(form->Model().Cast.YingOddsFactor, 1.25);
  EXPECT_DOUBLE_EQ(form->ShiStrength, 2.11);
  EXPECT_DOUBLE_EQ(form->YingStrength, 7.02);
  EXPECT_DOUBLE_EQ(form->Model().Cast.MovingStrength, 4.2);
  EXPECT_DOUBLE_EQ(form->Model().Cast.ChangedStrength, 2.2);
  EXPECT_DOUBLE_EQ(form->Model().Cast.BranchElementStrengths[0], 4.18);
  EXPECT_DOUBLE_EQ(form->Model().Cast.ShiHitCount, 1);
  EXPECT_DOUBLE_EQ(form->Model().Cast.YingHitCount, 1.6);
  const double hits[12] = {1, 1.6, 1, 0.6, 1, 0.6, 0, 0.6, 0, 1.6, 0, 1.6};
  for (int k = 0; k < 12; ++k)
    EXPECT_DOUBLE_EQ(form->Model().Cast.BranchHitCounts[k], hits[k]) << k;
}

// The structure cast runs the same chart on the cosine table (+3 to every strength).
// 乾为天 static on 4 February 2012 16:54, 世 戌 and 应 辰 against 辰 寅 未 申 (6, 4, 3 and 2
// steps from 戌; 0, 2, 3 and 4 from 辰): 3 - 1 - 0.5 + 0 + 0.5 = 2 and 3 + 1 + 0.5 + 0 - 0.5 = 4.
TEST_F(CastCharts, StructureCastUsesTheCosineModel) {
  PickMoment(2012, 2, 4, 16, 54);
  SetLines("111111");
  UserClick(form->Button2);
  EXPECT_GBK_EQ(form->RichEdit1->Line(2), "Zelkar六爻排盘(http://jg.zelkar.net)");
  ExpectRecommendation("推荐,应(世应力量:2－4)");
  // Cosine strengths always sum to 36: threshold 3.
  EXPECT_EQ(form->Model().Cast.BranchElementStrengths[0], 3);
}

// 7 November 2019 23:30, the eve of 立冬 (8 November, morning): the pillars belong to the next
// day (己酉, its 子 hour 甲子) but the month is still 甲戌. A 己 day puts 腾蛇 on the bottom line;
// empty branches 寅卯 (day) and 戌亥 (hour). Pillar branches 亥 戌 酉 子.
// 山地剥 (100000), 乾 palace, place 5: 世 line 5, 应 line 2. 兄弟 (金) is missing; 乾为天 holds
// it as 申金 on line 5. Lines 5 (世) and 3 move, both yin: 风山渐 (110100) of the 艮 palace,
// re-labelled for 金. The lowest moving line (3, 卯 -> 申) gives the moving fields.
// Cosine strengths (3 plus cos 30° x steps, cos 30° = 0.87):
// 世 子, mode 5: 0.87 + 0.5 + 0 + 1; 卯 is empty in the day's decade and neither 戌 nor 酉, so
// the day term (0) is halved. Changed 申: support (0 + 0.5 + 0.87 - 0.5) / 4 = 0.2175, effect
// -0.5 x 0.2175; 3 + 2.37 - 0.10875 = 5.26125 -> 5.26.
// 应 巳, mode 6: -1 - 0.87 - 0.5 / 2 - 0.87 = -2.99; moving 卯: support (-0.5 - 0.87 - 1 + 0) / 4
// = -0.5925, effect 0.5 x -0.5925; changed 申 is three steps from 巳 (0):
// 3 - 2.99 - 0.29625 / 2 = -0.138125 -> -0.14, shown after the full-width minus as "-0.14".
// Moving 卯 0.63 < threshold 3: 小; a yin line and 0.63 < 申 3.87: 单.
// Goal times from the day 酉: 卯 is 7, 申 12: 5, 19, 58, 82, 113, 127, 50, 190.
TEST_F(CastCharts, StructureCastWithMovingLinesOnTheEveOfATerm) {
  PickMoment(2019, 11, 7, 23, 30);
  SetLines("100000", "010100");
  UserClick(form->Button2);

  ExpectChart(
      {"公历:2019年11月7日23时30分(农历:2019-10-11)",
       "干支:己亥　甲戌　己酉　甲子(日空:寅卯,时空:戌亥)", "Zelkar六爻排盘(http://jg.zelkar.net)",
       "伏　　神　山地剥　乾宫　　风山渐　艮宫　六神", "　",
       "　　　　　妻财寅木／　　　妻财卯木／应　勾陈", "兄弟申金：子孙子水∥世※→官鬼巳火／　　朱雀",
       "　　　　　父母戌土∥　　　父母未土∥　　青龙", "　　　　　妻财卯木∥　※→兄弟申金／世　玄武",
       "　　　　　官鬼巳火∥应　　官鬼午火∥　　白虎", "　　　　　父母未土∥　　　父母辰土∥　　腾蛇"});
  ExpectRecommendation("推荐:小单,世(世应力量:5.26－-0.14,足球进球时间: 19 50 58 82)");
  EXPECT_GBK_EQ(Clipboard()->AsText(), Reading());

  EXPECT_GBK_EQ(form->Model().Cast.PillarBranches, "亥戌酉子");
  EXPECT_GBK_EQ(form->Model().Cast.MovingMark, "※→");
  EXPECT_GBK_EQ(form->Model().Cast.MovingBranch, "卯");
  EXPECT_GBK_EQ(form->Model().Cast.ChangedBranch, "申");
  EXPECT_TRUE(form->Model().Cast.ShiMoving);
  EXPECT_FALSE(form->Model().Cast.YingMoving);
  EXPECT_GBK_EQ(form->LineBranchText, "寅子戌卯巳未");
  EXPECT_DOUBLE_EQ(form->ShiStrength, 5.26);
  EXPECT_DOUBLE_EQ(form->YingStrength, -0.14);
  EXPECT_DOUBLE_EQ(form->Model().Cast.MovingStrength, 0.63);
  EXPECT_DOUBLE_EQ(form->Model().Cast.ChangedStrength, 3.87);
  // Cosine strengths of 子 .. 亥 against 亥 戌 酉 子, then 金 木 水 火 土.
  const double strengths[18] = {3,    5.37, 3.87, 2.13, 0.63, -0.24, -0.24, 0.63, 2.13,
                                3.87, 5.37, 6.24, 6.24, 9.24, 2.76,  11.61, 0.39, 12};
  for (int k = 0; k < 18; ++k)
    EXPECT_DOUBLE_EQ(form->Model().Cast.BranchElementStrengths[k], strengths[k]) << k;
  // 子水 only in the primary (the hidden 申金 is no line's own branch); 巳火 once in each.
  EXPECT_DOUBLE_EQ(form->Model().Cast.ShiHitCount, 1);
  EXPECT_DOUBLE_EQ(form->Model().Cast.YingHitCount, 1.6);
  const double hits[12] = {1, 0, 1, 1.6, 0.6, 1.6, 0.6, 1.6, 0.6, 0, 1, 0};
  for (int k = 0; k < 12; ++k)
    EXPECT_DOUBLE_EQ(form->Model().Cast.BranchHitCounts[k], hits[k]) << k;
}

// 4 January 2021 23:10, the eve of 小寒 (5 January, morning): day 癸丑 with its 子 hour 壬子,
// month still 戊子; 玄武 on the bottom line; 寅卯 empty in both decades. Pillar branches
// 子 子 丑 子.
// 风雷益 (110001), 巽 palace, place 3: 世 line 3, 应 line 6. 官鬼 (金) is missing; 巽为风 holds it
// as 酉金 on line 3. The top line (应, yang) moves: 水雷屯 (010001) of the 坎 palace, shown with
// the relatives of 木.
// Odds 1.75 and 2.3: factors 4.6 / 4.05 = 1.135.. -> 1.14 and 3.5 / 4.05 = 0.864.. -> 0.86.
// Factor strengths: 世 辰, mode 6: 0.6 + 0.6 + 2 / 2 + 0.6 / 2 = 2.5 (moving 卯 is empty in both
// decades and none of 子 丑); moving 卯: support (1.5 x 3 + 0.6) / 4 = 1.275, effect
// 0.5 x 1.275 = 0.6375; changed 子: support (2 x 3 + 0.8) / 4 = 1.7, effect 0.6 x 1.7 = 1.02;
// 2.5 + 1.6575 / 2 = 3.32875 -> 3.33, x 1.14 = 3.7962 -> 3.8.
// 应 卯, mode 5: 1.5 + 1.5 + 0.6 / 2 + 1.5 / 2 = 4.05, + 1.5 x 1.7 = 6.6, x 0.86 = 5.676 -> 5.68.
// Strengths 子 .. 亥: 6.8 3.5 5.1 5.1 3.8 1.9 1.6 2.2 3.9 3.9 2.4 7.6, sum 47.8, threshold 3.98.
// Moving 卯 5.1 >= 3.98: 大; a yang line and 5.1 < 子 6.8: 双.
// Goal times from the day 丑: 卯 is 3, 子 12: 9, 15, 18, 42, 117, 123, 90, 150.
TEST_F(CastCharts, MovingYingLineOnTheEveOfXiaohan) {
  PickMoment(2021, 1, 4, 23, 10);
  SetLines("110001", "100000");
  form->Edit3->SetText("1.75");
  form->Edit4->SetText("2.3");
  UserClick(form->Button1);

  ExpectChart(
      {"公历:2021年1月4日23时10分(农历:2020-11-21)",
       "干支:庚子　戊子　癸丑　壬子(日空:寅卯,时空:寅卯)", "Zelkar六爻排盘(http://www.zelkar.net)",
       "伏　　神　风雷益　巽宫　　水雷屯　坎宫　六神", "　",
       "　　　　　兄弟卯木／应○→父母子水∥　　白虎", "　　　　　子孙巳火／　　　妻财戌土／应　腾蛇",
       "　　　　　妻财未土∥　　　官鬼申金∥　　勾陈", "官鬼酉金：妻财辰土∥世　　妻财辰土∥　　朱雀",
       "　　　　　兄弟寅木∥　　　兄弟寅木∥世　青龙",
       "　　　　　父母子水／　　　父母子水／　　玄武"});
  ExpectRecommendation("推荐:大双,应(世应力量:3.8－5.68,足球进球时间: 15 18 42 90)");
  EXPECT_GBK_EQ(Clipboard()->AsText(), Reading());

  EXPECT_DOUBLE_EQ(form->Model().Cast.ShiOddsFactor, 1.14);
  EXPECT_DOUBLE_EQ(form->Model().Cast.YingOddsFactor, 0.86);
  EXPECT_GBK_EQ(form->Model().Cast.ShiBranch, "辰");
  EXPECT_GBK_EQ(form->Model().Cast.YingBranch, "卯");
  EXPECT_FALSE(form->Model().Cast.ShiMoving);
  EXPECT_TRUE(form->Model().Cast.YingMoving);
  EXPECT_GBK_EQ(form->LineBranchText, "卯巳未子戌申");
  EXPECT_DOUBLE_EQ(form->ShiStrength, 3.8);
  EXPECT_DOUBLE_EQ(form->YingStrength, 5.68);
  EXPECT_DOUBLE_EQ(form->Model().Cast.MovingStrength, 5.1);
  EXPECT_DOUBLE_EQ(form->Model().Cast.ChangedStrength, 6.8);
  const double strengths[18] = {3.98, 6.8, 3.5, 5.1, 5.1, 3.8,  1.9,  1.6, 2.2,
                                3.9,  3.9, 2.4, 7.6, 7.8, 10.2, 14.4, 3.5, 11.9};
  for (int k = 0; k < 18; ++k)
    EXPECT_DOUBLE_EQ(form->Model().Cast.BranchElementStrengths[k], strengths[k]) << k;
  // 辰土 on line 3 of both hexagrams; 卯木 only in the primary.
  EXPECT_DOUBLE_EQ(form->Model().Cast.ShiHitCount, 1.6);
  EXPECT_DOUBLE_EQ(form->Model().Cast.YingHitCount, 1);
  const double hits[12] = {2.2, 0, 1.6, 1, 1.6, 1, 0, 1, 0.6, 0, 0.6, 0};
  for (int k = 0; k < 12; ++k)
    EXPECT_DOUBLE_EQ(form->Model().Cast.BranchHitCounts[k], hits[k]) << k;
}

TEST_F(CastCharts, ScreenshotAfterACast) {
  PickMoment(2006, 12, 10, 23, 30);
  SetLines("000111", "101010");
  UserClick(form->Button1);
  ProcessEvents();
  EXPECT_NE(SaveScreenshot(form.get(), "cast"), "");
}

}  // namespace
