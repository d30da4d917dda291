#include "workbench/logic/HexagramTables.h"

#include "platform/GbkText.h"

namespace {

const std::string kPalaces[8][2] = {{"乾", "金"}, {"兑", "金"}, {"离", "火"}, {"震", "木"},
                                    {"巽", "木"}, {"坎", "水"}, {"艮", "土"}, {"坤", "土"}};

// The five elements in generating order: each generates the next and overcomes the one after.
const std::string kElements[5] = {"木", "火", "土", "金", "水"};

int ElementIndex(const std::string& element) {
  for (int i = 0; i < 5; ++i)
    if (kElements[i] == element) return i;
  return -1;
}

}  // namespace

int FindHexagram(const std::string& lineCode, const std::string_view (&table)[HexagramCount]) {
  for (int k = 0; k < HexagramCount; ++k)
    if (table[k].substr(0, 6) == lineCode) return k;
  return 0;
}

std::string SixSpiritOrderOf(const std::string& dayStem) {
  for (const SixSpiritOrderRow& row : SixSpiritOrders)
    if (row.Stem == dayStem) return std::string(row.Order);
  return std::string(DefaultSixSpiritOrder);
}

std::string SpiritOfLine(const std::string& order, int line) {
  return ByteCopy(order, 4 * (line - 1) + 1, 4);
}

std::string PalaceOf(std::string_view tableEntry) {
  std::string entry(tableEntry);
  int at = BytePosOf("宫", entry);
  return at > 2 ? ByteCopy(entry, at - 2, 2) : std::string();
}

std::string SixRelativeOf(const std::string& Palace, const std::string& Line) {
  int palace = -1;
  for (const auto& row : kPalaces)
    if (row[0] == Palace) palace = ElementIndex(row[1]);
  int line = ElementIndex(ByteCopy(Line, 7, 2));
  if (palace < 0 || line < 0) return "";
  // Steps from the palace's element to the line's along the generating cycle.
  static const char* const kRelativeBySteps[5] = {"兄弟", "子孙", "妻财", "官鬼", "父母"};
  return kRelativeBySteps[(line - palace + 5) % 5] +
         ByteCopy(Line, 5, static_cast<int>(Line.size()));
}
