#include "workbench/logic/StrengthModels.h"

#include "calendar/engine/LunarTables.h"
#include "platform/GbkText.h"
#include "platform/Numbers.h"

// clang-format off
const double StrengthFactorTable[12][12] = {
    //  子    丑    寅    卯    辰    巳    午    未    申    酉    戌    亥
    {   2, 0.5,  1.5,  1.5,  0.6,  0.5,  0.4,  0.6,  0.8,  0.8,  0.6,    2},  // 子
    { 0.8,   2,  0.6,  0.6,    2,  0.4,  0.4,  0.4,  1.5,  1.5,  0.6,  1.6},  // 丑
    { 0.8, 0.5,    2,    2,  0.5,  1.5,  1.5,  0.5,  0.4,  0.6,  0.5,  0.5},  // 寅
    { 0.8, 0.5,    2,    2,  0.5,  1.5,  1.5,  0.5,  0.6,  0.4,  0.5,  0.8},  // 卯
    { 1.5,   2,  1.6,  1.6,    2,  0.4,  0.4,  1.5,  1.5,  1.5,  0.4,  1.5},  // 辰
    { 0.6, 1.5,  0.8,  0.8,  1.5,    2,    2,  1.5,  0.5,  0.5,  1.5,  0.4},  // 巳
    { 0.4, 1.5,  0.8,  0.8,  1.5,    2,    2,  1.5,  0.5,  0.5,  1.5,  0.6},  // 午
    { 0.5, 0.4,  0.6,  0.6,  1.5,  1.6,  0.8,    2,  1.5,  1.5,    2,  0.5},  // 未
    { 1.5, 0.8,  0.4,  0.5,  0.8,  0.5,  0.6,  0.8,    2,    2,  0.8,  1.5},  // 申
    { 1.5, 0.8,  0.5,  0.4,  0.5,  0.6,  0.6,  0.8,    2,    2,  0.8,  1.5},  // 酉
    { 0.5, 0.6,  0.6,  0.5,  0.4,  1.5,  1.5,    2,  1.6,  1.6,    2,  0.5},  // 戌
    {   2, 0.7,  1.5,  1.5,  0.7,  0.4,  0.5,  0.6,  0.8,  0.8,  0.6,    2},  // 亥
};

// cos(30° x (r - c)) to two decimals: 1 on the diagonal, -1 for opposite branches.
const double BranchCosineTable[12][12] = {
    {    1,  0.87,   0.5,     0,  -0.5, -0.87,    -1, -0.87,  -0.5,     0,   0.5,  0.87},  // 子
    { 0.87,     1,  0.87,   0.5,     0,  -0.5, -0.87,    -1, -0.87,  -0.5,     0,   0.5},  // 丑
    {  0.5,  0.87,     1,  0.87,   0.5,     0,  -0.5, -0.87,    -1, -0.87,  -0.5,     0},  // 寅
    {    0,   0.5,  0.87,     1,  0.87,   0.5,     0,  -0.5, -0.87,    -1, -0.87,  -0.5},  // 卯
    { -0.5,     0,   0.5,  0.87,     1,  0.87,   0.5,     0,  -0.5, -0.87,    -1, -0.87},  // 辰
    {-0.87,  -0.5,     0,   0.5,  0.87,     1,  0.87,   0.5,     0,  -0.5, -0.87,    -1},  // 巳
    {   -1, -0.87,  -0.5,     0,   0.5,  0.87,     1,  0.87,   0.5,     0,  -0.5, -0.87},  // 午
    {-0.87,    -1, -0.87,  -0.5,     0,   0.5,  0.87,     1,  0.87,   0.5,     0,  -0.5},  // 未
    { -0.5, -0.87,    -1, -0.87,  -0.5,     0,   0.5,  0.87,     1,  0.87,   0.5,     0},  // 申
    {    0,  -0.5, -0.87,    -1, -0.87,  -0.5,     0,   0.5,  0.87,     1,  0.87,   0.5},  // 酉
    {  0.5,     0,  -0.5, -0.87,    -1, -0.87,  -0.5,     0,   0.5,  0.87,     1,  0.87},  // 戌
    { 0.87,   0.5,     0,  -0.5, -0.87,    -1, -0.87,  -0.5,     0,   0.5,  0.87,     1},  // 亥
};
// clang-format on

namespace {

double Strength(const double (&table)[12][12], double constant, const std::string& Branch,
                const std::string& Pillars, int Mode, double Weight, const StrengthChart& chart) {
  const int t = BranchNumber(Branch);
  const std::string yb = ByteCopy(Pillars, 1, 2), mb = ByteCopy(Pillars, 3, 2),
                    db = ByteCopy(Pillars, 5, 2), hb = ByteCopy(Pillars, 7, 2);
  const int y = BranchNumber(yb), m = BranchNumber(mb), d = BranchNumber(db), h = BranchNumber(hb);
  const int moving = BranchNumber(chart.MovingBranch), changed = BranchNumber(chart.ChangedBranch);
  // A branch that is not one of the twelve (no moving line, a stray text) weighs nothing.
  auto F = [&table](int r, int c) { return r && c ? table[r - 1][c - 1] : 0.0; };

  const double w = Weight;
  double PY = F(y, t) * w, PM = F(m, t) * w, PD = F(d, t) * w, PH = F(h, t) * w;
  const double SM = (F(y, moving) + F(m, moving) + F(d, moving) + F(h, moving)) * w / 4;
  const double SC = (F(y, changed) + F(m, changed) + F(d, changed) + F(h, changed)) * w / 4;
  const double XM = F(moving, t) * w * SM;
  const double XC = F(changed, t) * w * SC;

  if ((Mode == 5 || Mode == 6) && moving) {
    const std::string& MB = chart.MovingBranch;
    const std::string& xun = chart.XunVoidText;
    if ((MB == ByteCopy(xun, 7, 2) || MB == ByteCopy(xun, 9, 2)) && MB != mb && MB != db)
      PD = PD / 2;
    if ((MB == ByteCopy(xun, 17, 2) || MB == ByteCopy(xun, 19, 2)) && MB != db && MB != hb)
      PH = PH / 2;
  }

  double sum = PY + PM + PD + PH;
  if (Mode == 5)
    sum = sum + XC;
  else if (Mode == 6)
    sum = sum + (XM + XC) * 0.5;
  return RoundTo(sum + constant, -2) + 0.0;  // + 0.0: never a negative zero
}

}  // namespace

int BranchNumber(const std::string& branch) {
  for (int i = 0; i < 12; ++i)
    if (branch == BranchNames[i]) return i + 1;
  return 0;
}

std::string BranchName(int number) {
  return number >= 1 && number <= 12 ? BranchNames[number - 1] : "";
}

double LineStrength(const std::string& Branch, const std::string& Pillars, int Mode, double Weight,
                    const StrengthChart& chart) {
  return Strength(StrengthFactorTable, 0.0, Branch, Pillars, Mode, Weight, chart);
}

double CosineLineStrength(const std::string& Branch, const std::string& Pillars, int Mode,
                          double Weight, const StrengthChart& chart) {
  return Strength(BranchCosineTable, 3.0, Branch, Pillars, Mode, Weight, chart);
}

double ModelStrength(StrengthModel model, const std::string& Branch, const std::string& Pillars,
                     int Mode, double Weight, const StrengthChart& chart) {
  return model == StrengthModel::Cosine ? CosineLineStrength(Branch, Pillars, Mode, Weight, chart)
                                        : LineStrength(Branch, Pillars, Mode, Weight, chart);
}

int BranchDistance(const std::string& A, const std::string& B) {
  const int a = BranchNumber(A), b = BranchNumber(B);
  if (!a || !b) return 0;
  return b <= a ? a - b + 1 : a + 13 - b;
}
