#include "workbench/logic/WinDrawLoss.h"

#include <cmath>

#include "platform/Exceptions.h"

namespace {

const char* const kOddsError = "胜平负指数无法计算:除数为零或结果无效,请检查三个指数和主客力。";
const char* const kMixError = "两段无法综合:时长之和为零或结果无效,请检查两段的力量和时长。";

// A quotient that must be a finite number; `error` tells the user which inputs to look at.
double Divide(double dividend, double divisor, const char* error) {
  const double q = dividend / divisor;
  if (divisor == 0 || !std::isfinite(q)) throw Exception(error);
  return q;
}

// A value built from quotients can still overflow on the way.
double Finite(double value, const char* error) {
  if (!std::isfinite(value)) throw Exception(error);
  return value;
}

}  // namespace

HandicapStrengths ComputeHandicaps(double o1, double o2, double o3, double h, double a) {
  const char* e = kOddsError;
  HandicapStrengths s;
  auto pair = [&](int line, double homeShare, double awayShare) {
    const double sum = Finite(homeShare + awayShare, e);
    s.Home[line] = Divide(Finite(2 * h * homeShare, e), sum, e);
    s.Away[line] = Divide(Finite(2 * a * awayShare, e), sum, e);
  };
  // Level line.
  const double x = Divide(Finite((o2 - 1) * o1, e), o2, e);
  const double y = Divide(Finite((o2 - 1) * o3, e), o2, e);
  pair(0, y, x);
  // Home gives half a goal.
  const double d = Divide(Finite(o2 * o3, e), Finite(o2 + o3, e), e);
  pair(1, d, o1);
  // Away gives half a goal.
  const double g = Divide(Finite(o2 * o1, e), Finite(o2 + o1, e), e);
  pair(2, o3, g);
  // Home gives a quarter goal.
  const double p = Divide(Finite((2 * o2 - 1) * o1, e), Finite(2 * o2, e), e);
  const double q = Divide(Finite((2 * o2 - 1) * o3, e), Finite(2 * o2 + o3, e), e);
  pair(3, q, p);
  // Away gives a quarter goal.
  const double p2 = Divide(Finite((2 * o2 - 1) * o1, e), Finite(2 * o2 + o1, e), e);
  const double q2 = Divide(Finite((2 * o2 - 1) * o3, e), Finite(2 * o2, e), e);
  pair(4, q2, p2);
  return s;
}

std::string HandicapVerdict(const HandicapStrengths& s) {
  if (s.Home[0] >= s.Away[0]) return s.Home[1] >= s.Away[1] ? "推荐：3" : "推荐：31";
  return s.Home[2] > s.Away[2] ? "推荐：10" : "推荐：0";
}

std::array<double, 2> MixSegments(double h1, double a1, double t1, double h2, double a2,
                                  double t2) {
  const char* e = kMixError;
  const double t = Finite(t1 + t2, e);
  return {Finite(Divide(Finite(h1 * t1, e), t, e) + Divide(Finite(h2 * t2, e), t, e), e),
          Finite(Divide(Finite(a1 * t1, e), t, e) + Divide(Finite(a2 * t2, e), t, e), e)};
}
