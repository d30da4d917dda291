#include "workbench/logic/NumerologyWords.h"

#include "platform/GbkText.h"
#include "platform/Numbers.h"

WordRule SizeAndParity(double movingStrength, double changedStrength, double average,
                       bool yangMoves) {
  WordRule rule;
  rule.Applies = true;
  rule.Big = movingStrength >= average;
  const bool notWeaker = movingStrength >= changedStrength;
  rule.Odd = notWeaker == yangMoves;
  return rule;
}

WordRule ApplyWordRule(double movingStrength, double changedStrength, double average,
                       const std::string& movingMark) {
  const bool yangMoves = movingMark == "○→";
  if (!yangMoves && movingMark != "※→") return WordRule();
  return SizeAndParity(movingStrength, changedStrength, average, yangMoves);
}

bool IsPointsMatch(const std::string& name1, const std::string& name2) {
  for (const std::string& name : {name1, name2}) {
    if (CharContains(name, "篮球") || CharContains(name, "棒球")) return true;
  }
  return false;
}

std::string MatchRecommendation(const std::string& castText, const WordRule& words,
                                const std::string& name1, const std::string& name2, double a,
                                double b, const std::string& goalTimes) {
  const bool points = IsPointsMatch(name1, name2);
  std::string text = castText;
  if (words.Applies) {
    text = std::string("推荐:") + (words.Big ? "大" : "小") + (points ? "分" : "球") +
           (words.Odd ? "单数" : "双数");
  }
  const std::string strengths = "(主客力量:" + FloatToStr(a) + "－" + FloatToStr(b);
  if (points) return text + "," + (a >= b ? name1 : name2) + strengths + ")";
  return text + "," + (a >= b ? "世" : "应") + strengths + ",足球进球时间:" + goalTimes + ")";
}

std::string ColourPair(double water, double wood, double fire) {
  std::string pair;
  if (water >= fire && wood >= fire) pair = "兰绿";
  if (water >= wood && fire >= wood) pair = "兰红";
  if (wood >= water && fire >= water) pair = "绿红";
  return pair;
}

std::string LotteryRecommendation(const std::string& castText, const WordRule& words,
                                  const std::string& name, double water, double wood, double fire) {
  static const char* const kWaves[6][2] = {
      {"单兰绿", ",17码:03 09 15 25 31 37 41 47 05 11 17 21 27 33 39 43 49"},
      {"单兰红", ",16码:03 09 15 25 31 37 41 47 01 07 13 19 23 29 35 45"},
      {"单绿红", ",17码:05 11 17 21 27 33 39 43 49 01 07 13 19 23 29 35 45"},
      {"双兰绿", ",15码:04 10 14 20 26 36 42 48 06 16 22 28 32 38 44"},
      {"双兰红", ",17码:04 10 14 20 26 36 42 48 02 08 12 18 24 30 34 40 46"},
      {"双绿红", ",16码:06 16 22 28 32 38 44 02 08 12 18 24 30 34 40 46"}};
  std::string text = castText;
  if (words.Applies) {
    text = std::string("推荐:") + (words.Big ? "大" : "小") + (words.Odd ? "单" : "双");
  }
  if (CharContains(name, "六合彩")) {
    text += ColourPair(water, wood, fire);
    for (const auto& wave : kWaves) {
      if (CharContains(text, wave[0])) text += wave[1];
    }
  }
  return text;
}
