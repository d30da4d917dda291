// The formula file's records, the formulas' values and eliminations, and their captions.
#include <gtest/gtest.h>

#include "marksix/logic/KillFormula.h"
#include "marksix/logic/NumberRules.h"
#include "platform/Exceptions.h"
#include "tests/marksix_logic/FormulaSample.h"
#include "tests/workbench_logic/GbkExpect.h"

namespace {

const std::array<std::string, 6> kTyped = {"1", "2", "3", "4", "5", "6"};

TEST(KillFormulaRecords, ALineBreakBefore180ShiftsTheLaterRecords) {
  std::string bytes = SampleFormulaFile();
  bytes.insert(30, "\r\n");  // inside nothing: between records 2 and 3
  const auto records = ReadKillFormulaRecords(bytes);
  EXPECT_EQ(records[1].RunCount, "102");
  EXPECT_EQ(records[2].RunCount, "\r\n1");
  EXPECT_EQ(records[2].Coefficients[0], "03");
  EXPECT_EQ(records[11].Coefficients[5], "16");
  EXPECT_GBK_EQ(OpeningFormulaCaption(3, records[2]).substr(0, 15), "公式Ｃ连准\r\n1期");
  EXPECT_NO_THROW(CoefficientValues(records[1]));
  // The run count is only shown, never converted: the shifted record still computes.
  EXPECT_EQ(CoefficientValues(records[2]), (std::array<int, 6>{3, 3, 4, 5, 6, 7}));
}

TEST(KillFormulaRecords, ShortFilesAndNonDigitFieldsDoNotConvert) {
  const auto shortRecords = ReadKillFormulaRecords(SampleFormulaFile().substr(0, 179));
  EXPECT_EQ(shortRecords[11].Coefficients[5], "1");
  EXPECT_THROW(CoefficientValues(shortRecords[11]), EConvertError);
  EXPECT_THROW(CoefficientValues(ReadKillFormulaRecords("")[0]), EConvertError);
  for (const char* field : {" 1", "1 ", "$1", "-1", "+1", "1."}) {
    std::string bytes = SampleFormulaFile();
    bytes.replace(3, 2, field);
    EXPECT_THROW(CoefficientValues(ReadKillFormulaRecords(bytes)[0]), EConvertError) << field;
  }
  std::string bytes = SampleFormulaFile();
  bytes.replace(0, 3, "1x1");
  EXPECT_EQ(CoefficientValues(ReadKillFormulaRecords(bytes)[0]),
            (std::array<int, 6>{1, 2, 3, 4, 5, 6}));
}

TEST(KillFormula, EveryConclusionForTheRemainder42) {
  const auto records = ReadKillFormulaRecords(SampleFormulaFile());
  auto tail = [&](int k) {
    const std::string caption = TestFormulaCaption(k, records[k - 1], kTyped, 91, 42, 2008);
    return caption.substr(caption.find(")=") + 7);
  };
  EXPECT_GBK_EQ(tail(4), "除以49的余数42属2尾,下期杀:2尾.");    // no comma, as always
  EXPECT_GBK_EQ(tail(6), ",除以49的余数42属水,下期五行杀:水");  // pair 44 in 2008
  EXPECT_GBK_EQ(tail(7), ",除以49的余数42,下期杀:4头");
  EXPECT_GBK_EQ(tail(8), ",除以49的余数42属06合,下期杀:06合");
  EXPECT_GBK_EQ(tail(11), ",除以49的余数42属6支数,下期杀:6支数");
  EXPECT_GBK_EQ(tail(12), ",除以49的余数42属0支尾,下期杀:0支尾");
  auto struck = [](int k, int r) {
    std::vector<int> numbers;
    for (int n = 1; n <= 49; ++n)
      if (Eliminates(k, r, n, 2008)) numbers.push_back(n);
    return numbers;
  };
  EXPECT_EQ(struck(4, 42), (std::vector<int>{2, 12, 22, 32, 42}));
  EXPECT_EQ(struck(7, 42), (std::vector<int>{40, 41, 42, 43, 44, 45, 46, 47, 48, 49}));
  EXPECT_EQ(struck(8, 42), (std::vector<int>{6, 15, 24, 33, 42}));
  EXPECT_EQ(struck(11, 42), (std::vector<int>{36, 37, 38, 39, 40, 41, 42}));
  EXPECT_EQ(struck(12, 42), (std::vector<int>{7, 14, 21, 28, 35, 42, 49}));
  EXPECT_GBK_EQ(NayinElementOfNumber(42, 2008), "水");
  const auto water = struck(6, 42);
  EXPECT_EQ(water.size(), 10u);
  for (int n = 1; n <= 49; ++n)
    EXPECT_EQ(Eliminates(6, 42, n, 2008), NayinElementOfNumber(n, 2008) == "水") << n;
}

TEST(KillFormula, ValuesKeepTheirLastSixCharacters) {
  // The largest value, 99 x 49 x 6, has five digits; two-digit values show five characters.
  const auto record = ReadKillFormulaRecords(SampleFormulaFile())[0];
  EXPECT_EQ(FormulaRemainder(29106), 49);
  EXPECT_NE(TestFormulaCaption(1, record, kTyped, 29106, 49, 2008).find(")=029106,"),
            std::string::npos);
  EXPECT_NE(TestFormulaCaption(1, record, kTyped, 91, 42, 2008).find(")=00091,"),
            std::string::npos);
}

}  // namespace
