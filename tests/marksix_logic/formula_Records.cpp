// The formula file's records, the formulas' values and eliminations, and their captions.
#include <gtest/gtest.h>

#include "marksix/logic/KillFormula.h"
#include "marksix/logic/NumberRules.h"
#include "platform/Exceptions.h"
#include "tests/marksix_logic/FormulaSample.h"
#include "tests/workbench_logic/GbkExpect.h"

namespace {

const std::array<std::string, 6> kTyped = {"1", "2", "3", "4", "5", "6"};
const std::array<int, 6> kNumbers = {1, 2, 3, 4, 5, 6};

TEST(KillFormulaRecords, FifteenDigitsEachFromTheFirst180Bytes) {
  const auto records = ReadKillFormulaRecords(SampleFormulaFile());
  EXPECT_EQ(records[0].RunCount, "101");
  EXPECT_EQ(records[0].Coefficients[0], "01");
  EXPECT_EQ(records[11].RunCount, "112");
  EXPECT_EQ(records[11].Coefficients[5], "17");
  EXPECT_EQ(CoefficientValues(records[4]), (std::array<int, 6>{5, 6, 7, 8, 9, 10}));
  EXPECT_GBK_EQ(OpeningFormulaCaption(1, records[0]),
                "公式Ａ连准101期:(平码一*01+平码二*02+平码三*03+平码四*04+平码五*05+平码六*06)"
                "/49余数的生肖=下期杀肖");
  EXPECT_GBK_EQ(OpeningFormulaCaption(12, records[11]).substr(0, 17), "公式Ｌ连准112期:(");
  EXPECT_EQ(DefaultFormulaCaption(1), "公式A");
  EXPECT_EQ(DefaultFormulaCaption(12), "公式L");
}

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
  EXPECT_THROW(CoefficientValues(records[2]), EConvertError);
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
  EXPECT_THROW(CoefficientValues(ReadKillFormulaRecords(bytes)[0]), EConvertError);
}

TEST(KillFormula, TheExampleOfNinetyOne) {
  const auto record = ReadKillFormulaRecords(SampleFormulaFile())[0];
  const int value = FormulaValue(CoefficientValues(record), kNumbers);
  EXPECT_EQ(value, 91);
  EXPECT_EQ(FormulaRemainder(value), 42);
  const std::string caption = TestFormulaCaption(1, record, kTyped, value, 42, 2008);
  EXPECT_GBK_EQ(caption,
                "公式Ａ连准101期:(1*01+2*02+3*03+4*04+5*05+6*06)=00091,除以49的余数42属"
                "06肖,下期杀:06肖.");
  std::vector<int> struck;
  for (int n = 1; n <= 49; ++n)
    if (Eliminates(1, 42, n, 2008)) struck.push_back(n);
  EXPECT_EQ(struck, (std::vector<int>{6, 18, 30, 42}));
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

TEST(KillFormula, RemaindersOf49AndOfMultiplesOf12) {
  EXPECT_EQ(FormulaRemainder(0), 49);
  EXPECT_EQ(FormulaRemainder(98), 49);
  EXPECT_EQ(FormulaRemainder(12), 12);
  const auto record = ReadKillFormulaRecords(SampleFormulaFile())[0];
  const std::string at49 = TestFormulaCaption(1, record, kTyped, 98, 49, 2008);
  EXPECT_GBK_EQ(at49.substr(at49.find(")=")), ")=00098,除以49的余数49属01肖,下期杀:01肖.");
  const std::string at12 = TestFormulaCaption(2, record, kTyped, 12, 12, 2008);
  EXPECT_GBK_EQ(at12.substr(at12.find(")=")), ")=00012,除以49的余数12属12肖,下期杀:12肖.");
  std::vector<int> struck49, struck12;
  for (int n = 1; n <= 49; ++n) {
    if (Eliminates(3, 49, n, 2008)) struck49.push_back(n);
    if (Eliminates(3, 12, n, 2008)) struck12.push_back(n);
  }
  EXPECT_EQ(struck49, (std::vector<int>{1, 13, 25, 37, 49}));
  EXPECT_EQ(struck12, (std::vector<int>{12, 24, 36, 48}));
  // The largest value has five digits: W keeps the last six characters.
  const std::string big =
      TestFormulaCaption(1, record, kTyped, 29106, FormulaRemainder(29106), 2008);
  EXPECT_NE(big.find(")=029106,"), std::string::npos);
}

TEST(SurvivorsText, EachNumberFollowedByABlank) {
  EXPECT_GBK_EQ(SurvivorsText({3, 17, 49}), "下期公式预测开3码:3 17 49 ");
  EXPECT_GBK_EQ(SurvivorsText({}), "下期公式预测开0码:");
}

}  // namespace
