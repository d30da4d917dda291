// The formula file and its twelve elimination formulas: each weighs the six regular numbers of
// a draw by its coefficients, takes the remainder by 49 and strikes out every number that
// shares one attribute with it.
#pragma once

#include <array>
#include <string>
#include <vector>

// One record of the formula file, its fields as they stand in the file (15 bytes: a 3-digit
// run count, then six 2-digit coefficients).
struct KillFormulaRecord {
  std::string RunCount;
  std::array<std::string, 6> Coefficients;
};

// The twelve records in the first 180 bytes; what follows is ignored. A short file gives short
// or empty fields; a line break inside shifts every later field.
std::array<KillFormulaRecord, 12> ReadKillFormulaRecords(const std::string& bytes);

// Why a formula file would not serve the window's test, in Chinese ("" when it would): shorter
// than twelve records, or a coefficient that is not two digits where the window reads it.
std::string KillFormulaFileFault(const std::string& bytes);

// The coefficients as numbers. Raises EConvertError when one is not two decimal digits. The
// run count is only ever shown, so a line break shifted into it does not stop the formula.
std::array<int, 6> CoefficientValues(const KillFormulaRecord& record);

// Captions of formula k (1 .. 12): without a file "公式A" .. "公式L"; with one, on opening,
// "公式Ａ连准" + run count + "期:(平码一*" + c1 + ... + the formula's tail.
std::string DefaultFormulaCaption(int k);
std::string OpeningFormulaCaption(int k, const KillFormulaRecord& record);

// V = c1 e1 + ... + c6 e6 and R = V mod 49, with 49 in place of 0.
int FormulaValue(const std::array<int, 6>& coefficients, const std::array<int, 6>& numbers);
int FormulaRemainder(int value);

// Whether formula k with remainder R strikes out number n (the element rule needs the year).
bool Eliminates(int k, int remainder, int n, int year);

// Caption of formula k after a test: the numbers as typed, the value W (the last six characters
// of "000" and V) and the formula's conclusion.
std::string TestFormulaCaption(int k, const KillFormulaRecord& record,
                               const std::array<std::string, 6>& typed, int value, int remainder,
                               int year);

// "下期公式预测开" + count + "码:" + each survivor followed by " ".
std::string SurvivorsText(const std::vector<int>& survivors);
