// The win/draw/loss calculator's arithmetic: home and away strength on five handicap lines from
// three decimal odds, the verdict in the lottery's result codes (3 home win, 1 draw, 0 away win)
// and the minute-weighted mix of two segments of a match. Every value is computed before any is
// shown, and a division that cannot give a finite number raises instead of showing INF or NAN.
#pragma once

#include <array>
#include <string>

// Home and away strength on the level line, home gives half a goal, away gives half a goal,
// home gives a quarter goal and away gives a quarter goal, unrounded.
struct HandicapStrengths {
  std::array<double, 5> Home{};
  std::array<double, 5> Away{};
};

// From the odds of a home win, a draw and an away win and the home and away strength. Raises
// Exception naming the odds when a divisor is zero or a value is not finite.
HandicapStrengths ComputeHandicaps(double winOdds, double drawOdds, double lossOdds, double home,
                                   double away);

// "推荐：3", "推荐：31", "推荐：10" or "推荐：0" from the unrounded strengths.
std::string HandicapVerdict(const HandicapStrengths& s);

// The home and away strength of two segments weighted by their minutes. Raises Exception when
// the minutes add up to zero or a value is not finite.
std::array<double, 2> MixSegments(double home1, double away1, double minutes1, double home2,
                                  double away2, double minutes2);
