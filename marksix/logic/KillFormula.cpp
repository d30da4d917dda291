#include "marksix/logic/KillFormula.h"

#include "marksix/logic/NumberRules.h"
#include "platform/Exceptions.h"
#include "platform/GbkText.h"
#include "platform/Numbers.h"

namespace {

constexpr int kRecordBytes = 15;

// What formula k strikes out: numbers sharing this attribute with the remainder.
enum class Kind { Zodiac, Tail, Element, Head, DigitSum, BlockOfSeven, SevenTail };

Kind KindOf(int k) {
  if (k <= 3) return Kind::Zodiac;
  if (k <= 5) return Kind::Tail;
  if (k == 6) return Kind::Element;
  if (k == 7) return Kind::Head;
  if (k <= 10) return Kind::DigitSum;
  if (k == 11) return Kind::BlockOfSeven;
  return Kind::SevenTail;
}

const char* const kOpeningTails[] = {")/49余数的生肖=下期杀肖",  ")/49余数的尾数=下期杀尾",
                                     ")/49余数的五行=下期杀行",  ")/49余数的头数=下期杀头",
                                     ")/49余数的合数=下期杀合",  ")/49余数的支数=下期杀支数",
                                     ")/49余数的支尾=下期杀支尾"};
const char* const kOrdinals[6] = {"一", "二", "三", "四", "五", "六"};

std::string FullWidthLetter(int k) { return ByteCopy("ＡＢＣＤＥＦＧＨＩＪＫＬ", 2 * k - 1, 2); }

std::string CaptionHead(int k, const KillFormulaRecord& record) {
  return "公式" + FullWidthLetter(k) + "连准" + record.RunCount + "期:(";
}

// A coefficient converts only when it is two digits: the runtime's conversion would also take
// blanks and hexadecimal.
int FieldValue(const std::string& field) {
  bool digits = field.size() == 2;
  for (char c : field) digits = digits && c >= '0' && c <= '9';
  if (!digits) RaiseNotInteger(field);
  return StrToInt(field);
}

}  // namespace

std::array<KillFormulaRecord, 12> ReadKillFormulaRecords(const std::string& bytes) {
  std::array<KillFormulaRecord, 12> records;
  for (int k = 0; k < 12; ++k) {
    const int at = 1 + kRecordBytes * k;
    records[k].RunCount = ByteCopy(bytes, at, 3);
    for (int c = 0; c < 6; ++c) records[k].Coefficients[c] = ByteCopy(bytes, at + 3 + 2 * c, 2);
  }
  return records;
}

std::array<int, 6> CoefficientValues(const KillFormulaRecord& record) {
  std::array<int, 6> values;
  for (int c = 0; c < 6; ++c) values[c] = FieldValue(record.Coefficients[c]);
  return values;
}

std::string KillFormulaFileFault(const std::string& bytes) {
  if (bytes.size() < 12 * kRecordBytes) return "文件不完整";
  try {
    for (const KillFormulaRecord& record : ReadKillFormulaRecords(bytes)) CoefficientValues(record);
  } catch (const EConvertError&) {
    return "文件已损坏";
  }
  return "";
}

std::string DefaultFormulaCaption(int k) { return "公式" + std::string(1, char('A' + k - 1)); }

std::string OpeningFormulaCaption(int k, const KillFormulaRecord& record) {
  std::string caption = CaptionHead(k, record);
  for (int c = 0; c < 6; ++c)
    caption += std::string(c ? "+" : "") + "平码" + kOrdinals[c] + "*" + record.Coefficients[c];
  return caption + kOpeningTails[static_cast<int>(KindOf(k))];
}

int FormulaValue(const std::array<int, 6>& coefficients, const std::array<int, 6>& numbers) {
  int value = 0;
  for (int c = 0; c < 6; ++c) value += coefficients[c] * numbers[c];
  return value;
}

int FormulaRemainder(int value) {
  const int r = FloorMod(value, 49);
  return r == 0 ? 49 : r;
}

bool Eliminates(int k, int remainder, int n, int year) {
  const int r = remainder;
  switch (KindOf(k)) {
    case Kind::Zodiac:
      return FloorMod(n, 12) == FloorMod(r, 12);
    case Kind::Tail:
      return TailDigit(n) == TailDigit(r);
    case Kind::Element:
      return NayinElementOfNumber(n, year) == NayinElementOfNumber(r, year);
    case Kind::Head:
      return HeadDigit(n) == HeadDigit(r);
    case Kind::DigitSum:
      return DigitSum(n) == DigitSum(r);
    case Kind::BlockOfSeven:
      return BlockOfSeven(n) == BlockOfSeven(r);
    default:
      return SevenTail(n) == SevenTail(r);
  }
}

std::string TestFormulaCaption(int k, const KillFormulaRecord& record,
                               const std::array<std::string, 6>& typed, int value, int remainder,
                               int year) {
  std::string caption = CaptionHead(k, record);
  for (int c = 0; c < 6; ++c)
    caption += std::string(c ? "+" : "") + typed[c] + "*" + record.Coefficients[c];
  caption += ")=" + RightChars("000" + IntToStr(value), 6);
  const std::string r = IntToStrPadded(remainder, 2);
  const std::string rest = ",除以49的余数" + r;
  switch (KindOf(k)) {
    case Kind::Zodiac: {
      const int z = FloorMod(remainder, 12);
      const std::string zodiac = IntToStrPadded(z == 0 ? 12 : z, 2);
      return caption + rest + "属" + zodiac + "肖,下期杀:" + zodiac + "肖.";
    }
    case Kind::Tail: {
      const std::string tail = IntToStr(TailDigit(remainder));
      // This conclusion has always gone without the leading comma.
      return caption + "除以49的余数" + r + "属" + tail + "尾,下期杀:" + tail + "尾.";
    }
    case Kind::Element: {
      const std::string element = NayinElementOfNumber(remainder, year);
      return caption + rest + "属" + element + ",下期五行杀:" + element;
    }
    case Kind::Head:
      return caption + rest + ",下期杀:" + IntToStr(HeadDigit(remainder)) + "头";
    case Kind::DigitSum: {
      const std::string sum = IntToStrPadded(DigitSum(remainder), 2);
      return caption + rest + "属" + sum + "合,下期杀:" + sum + "合";
    }
    case Kind::BlockOfSeven: {
      const std::string block = IntToStr(BlockOfSeven(remainder));
      return caption + rest + "属" + block + "支数,下期杀:" + block + "支数";
    }
    default: {
      const std::string tail = IntToStr(SevenTail(remainder));
      return caption + rest + "属" + tail + "支尾,下期杀:" + tail + "支尾";
    }
  }
}

std::string SurvivorsText(const std::vector<int>& survivors) {
  std::string text = "下期公式预测开" + IntToStr(static_cast<int>(survivors.size())) + "码:";
  for (int n : survivors) text += IntToStr(n) + " ";
  return text;
}
