#include "workbench/logic/Chart.h"

#include <cmath>

#include "platform/GbkText.h"
#include "platform/Numbers.h"
#include "workbench/logic/HexagramTables.h"
#include "workbench/logic/Recommendation.h"

namespace {

const char* const kBranchElementPairs[12] = {"子水", "丑土", "寅木", "卯木", "辰土", "巳火",
                                             "午火", "未土", "申金", "酉金", "戌土", "亥水"};

// Branch and element of a line text: the 4 bytes before its line mark and 世/应 mark.
std::string OwnBranchElement(const std::string& line) {
  return ByteCopy(line, static_cast<int>(line.size()) - 7, 4);
}

std::string OwnBranch(const std::string& line) {
  return ByteCopy(line, static_cast<int>(line.size()) - 7, 2);
}

// Both factors divide by the sum of the odds: refuse what would put inf or NaN on screen.
void OddsFactors(const ChartInput& input, ChartFields& f) {
  const double E3 = StrToFloat(input.ShiOdds);
  const double E4 = StrToFloat(input.YingOdds);
  // A negative odd gives a factor of the wrong sign and a strength below zero.
  if (E3 < 0) throw Exception("世的赔率「" + input.ShiOdds + "」小于0，赔率不能为负数!");
  if (E4 < 0) throw Exception("应的赔率「" + input.YingOdds + "」小于0，赔率不能为负数!");
  const double sum = E3 + E4;
  if (sum == 0) throw Exception("世、应赔率之和为0，无法计算赔率系数!");
  f.ShiOddsFactor = RoundTo(E4 * 2 / sum, -2) + 0.0;
  f.YingOddsFactor = RoundTo(E3 * 2 / sum, -2) + 0.0;
  if (!std::isfinite(f.ShiOddsFactor) || !std::isfinite(f.YingOddsFactor))
    throw Exception("赔率超出范围，无法计算赔率系数!");
}

struct HitCounter {
  ChartFields& f;
  void Count(const std::string& line, double weight) {
    if (CharContains(line, f.ShiBranch)) f.ShiHitCount += weight;
    if (CharContains(line, f.YingBranch)) f.YingHitCount += weight;
    const std::string own = OwnBranchElement(line);
    for (int k = 0; k < 12; ++k)
      if (CharContains(own, kBranchElementPairs[k])) f.BranchHitCounts[k] += weight;
  }
};

void FindShiYing(int k, ChartFields& f) {
  for (int i = 0; i < 6; ++i) {
    const std::string line(HexagramLines[6 * k + i]);
    if (CharContains(line, "世")) f.ShiBranch = OwnBranchElement(line);
    if (CharContains(line, "应")) f.YingBranch = OwnBranchElement(line);
  }
}

void CutToBranch(ChartFields& f) {
  f.ShiBranch = ByteCopy(f.ShiBranch, 1, 2);
  f.YingBranch = ByteCopy(f.YingBranch, 1, 2);
}

}  // namespace

std::string PillarBranchesOf(const std::string& fourPillars) {
  return ByteCopy(fourPillars, 3, 2) + ByteCopy(fourPillars, 9, 2) + ByteCopy(fourPillars, 15, 2) +
         ByteCopy(fourPillars, 21, 2);
}

std::string ChartBanner(StrengthModel model) {
  return std::string("Zelkar六爻排盘(") +
         (model == StrengthModel::Cosine ? "http://jg.zelkar.net" : "http://www.zelkar.net") + ")";
}

std::string LineCodeOf(const ChartInput& input, bool flipMoving) {
  std::string code;
  for (int i = 0; i < 6; ++i) {
    bool yin = !input.Yang[i];
    if (flipMoving && input.Moving[i]) yin = !yin;
    code += yin ? '0' : '1';
  }
  return code;
}

ChartCast CastChart(const ChartInput& input, StrengthModel model) {
  ChartCast cast;
  ChartFields& f = cast.Fields;
  OddsFactors(input, f);

  const std::string& pillars = input.FourPillarsText;
  f.PillarBranches = PillarBranchesOf(pillars);
  const std::string spirits = SixSpiritOrderOf(ByteCopy(pillars, 13, 2));

  std::string& text = cast.Text;
  auto append = [&text](const std::string& line) { text += line + "\r\n"; };
  const auto& d = input.DateTexts;
  append("公历:" + d[0] + "年" + d[1] + "月" + d[2] + "日" + d[3] + "时" + d[4] + "分(" +
         input.LunarDateText + ")");
  append("干支:" + pillars + input.XunVoidText);
  append(ChartBanner(model));

  const std::string lineCode = LineCodeOf(input, false);
  const std::string changedCode = LineCodeOf(input, true);
  bool anyMoving = false;
  for (bool moving : input.Moving) anyMoving = anyMoving || moving;

  const int k = FindHexagram(lineCode, HexagramTable);
  const std::string title(HexagramTable[k].substr(6));
  HitCounter hits{f};
  FindShiYing(k, f);

  if (!anyMoving) {
    append(title + "　六神");
    append("　");
    for (int i = 0; i < 6; ++i) hits.Count(std::string(HexagramLines[6 * k + i]), 1.0);
    CutToBranch(f);
    for (int i = 0; i < 6; ++i)
      append(std::string(HexagramLines[6 * k + i]) + "　" + SpiritOfLine(spirits, 6 - i));
  } else {
    const std::string palace = PalaceOf(HexagramTable[k]);
    const int c = FindHexagram(changedCode, HexagramNames18);
    append(title + "　　" + RightChars(std::string(HexagramNames18[c]), 6) + "　六神");
    append("　");
    for (int i = 0; i < 6; ++i) {
      const std::string line(HexagramLines[6 * k + i]);
      hits.Count(line, 1.0);
      f.LineBranchText += OwnBranch(line);
    }
    for (int i = 0; i < 6; ++i) {
      const std::string line(HexagramLinesShort[6 * c + i]);
      hits.Count(line, 0.6);
      f.LineBranchText += OwnBranch(line);
    }
    CutToBranch(f);
    for (int i = 0; i < 6; ++i) {
      const std::string primary(HexagramLines[6 * k + i]);
      const std::string changed(HexagramLinesShort[6 * c + i]);
      std::string mark = "　　";
      if (input.Moving[i]) {
        mark = input.Yang[i] ? "○→" : "※→";
        // Top to bottom, so the lowest moving line has the last word.
        f.MovingMark = mark;
        f.MovingBranch = OwnBranch(primary);
        f.ChangedBranch = OwnBranch(changed);
        if (CharContains(primary, "世")) f.ShiMoving = true;
        if (CharContains(primary, "应")) f.YingMoving = true;
      }
      append(primary + mark + SixRelativeOf(palace, changed) + "　" + SpiritOfLine(spirits, 6 - i));
    }
    const std::string& all = f.LineBranchText;
    const bool upper = input.Moving[0] || input.Moving[1] || input.Moving[2];
    f.LineBranchText = upper ? ByteCopy(all, 1, 6) + ByteCopy(all, 13, 6)
                             : ByteCopy(all, 7, 6) + ByteCopy(all, 19, 6);
  }

  Recommend(f, input.XunVoidText, model);
  return cast;
}
