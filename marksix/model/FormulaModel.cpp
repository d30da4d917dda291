#include "marksix/model/FormulaModel.h"

#include <vector>

#include "marksix/logic/KillFormula.h"
#include "platform/Exceptions.h"
#include "platform/Numbers.h"

FormulaModel::FormulaModel() {
  Ticked.fill(true);
  SetDefaultCaptions();
}

void FormulaModel::SetDefaultCaptions() {
  for (int k = 1; k <= 12; ++k) Captions[k - 1] = DefaultFormulaCaption(k);
}

void FormulaModel::SetFileCaptions(const std::string& fileBytes) {
  const auto records = ReadKillFormulaRecords(fileBytes);
  for (int k = 1; k <= 12; ++k) Captions[k - 1] = OpeningFormulaCaption(k, records[k - 1]);
}

bool FormulaModel::Test(const std::string& fileBytes, const std::string& path,
                        const std::function<int()>& lunarYear) {
  const auto records = ReadKillFormulaRecords(fileBytes);
  std::array<std::array<int, 6>, 12> coefficients;
  try {
    for (int k = 0; k < 12; ++k) coefficients[k] = CoefficientValues(records[k]);
  } catch (const EConvertError&) {
    // Too short for twelve records, or not digits where a coefficient stands.
    throw EReadError("文件已损坏:" + path);
  }
  std::array<int, 6> numbers;
  for (int i = 0; i < 6; ++i) numbers[i] = StrToInt(Typed[i]);
  for (int n : numbers)
    if (n < 1 || n > 49) return false;
  const int year = lunarYear();

  std::array<bool, 50> survives;
  survives.fill(true);
  std::array<std::string, 12> captions;
  for (int k = 1; k <= 12; ++k) {
    const int value = FormulaValue(coefficients[k - 1], numbers);
    const int remainder = FormulaRemainder(value);
    if (Ticked[k - 1])
      for (int n = 1; n <= 49; ++n)
        if (Eliminates(k, remainder, n, year)) survives[n] = false;
    captions[k - 1] = TestFormulaCaption(k, records[k - 1], Typed, value, remainder, year);
  }
  std::vector<int> survivors;
  for (int n = 1; n <= 49; ++n)
    if (survives[n]) survivors.push_back(n);
  Captions = captions;
  ResultText = SurvivorsText(survivors);
  return true;
}
