// The words the stroke-count casts put in place of the cast's own recommendation.
#pragma once

#include <string>

// Big or small from the moving line's strength against the average; odd or even from the
// moving mark and the moving strength against the changed one. Applies only when the mark is
// "○→" (yang moves) or "※→" (yin moves); otherwise the cast's recommendation stays.
struct WordRule {
  bool Applies = false;
  bool Big = false;
  bool Odd = false;
};
WordRule ApplyWordRule(double movingStrength, double changedStrength, double average,
                       const std::string& movingMark);
// The same rule for a chart whose moving line is yang (`yangMoves`) or yin; it always applies.
WordRule SizeAndParity(double movingStrength, double changedStrength, double average,
                       bool yangMoves);

// Basketball and baseball matches are weighed in points and name the stronger side.
bool IsPointsMatch(const std::string& name1, const std::string& name2);

// The match recommendation: the words (when the rule applies, else `castText`), then the two
// sides' strengths a and b, and for football the goal times.
std::string MatchRecommendation(const std::string& castText, const WordRule& words,
                                const std::string& name1, const std::string& name2, double a,
                                double b, const std::string& goalTimes);

// Mark Six colour-wave pair from the water (blue), wood (green) and fire (red) sums; a later
// test that holds replaces an earlier pair, so ties go to the later one. Empty when none holds.
std::string ColourPair(double water, double wood, double fire);

// The lottery recommendation: the four words; for "六合彩" also the colour pair and the numbers
// of the colour wave the text then names.
std::string LotteryRecommendation(const std::string& castText, const WordRule& words,
                                  const std::string& name, double water, double wood, double fire);
