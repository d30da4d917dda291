#include "workbench/logic/StrengthReport.h"

#include "platform/Numbers.h"

std::string StrengthReportText(const std::array<double, 18>& s) {
  static const char* const kBranches[12] = {
      "子(鼠):", "丑(牛):", "寅(虎):", "卯(兔):", "辰(龙):", "巳(蛇):",
      "午(马):", "未(羊):", "申(猴):", "酉(鸡):", "戌(狗):", "亥(猪):"};
  std::string text = "※年月日时力量※\n※※地支力量※※\n";
  for (int i = 0; i < 12; ++i) text += kBranches[i] + FloatToStr(s[i + 1]) + "\n";
  text += "地支平均:" + FloatToStr(s[0]) + "\n※※五行力量※※\n";
  const double earth = s[17] / 2;
  text += "金:" + FloatToStr(s[13]) + "\n木:" + FloatToStr(s[14]) + "\n水:" + FloatToStr(s[15]) +
          "\n火:" + FloatToStr(s[16]) + "\n土:" + FloatToStr(earth) + "\n";
  const double average = Trunc((s[13] + s[14] + s[15] + s[16] + earth) * 100 / 5) / 100.0;
  return text + "五行平均:" + FloatToStr(average);
}
