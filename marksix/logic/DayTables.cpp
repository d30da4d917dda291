#include "marksix/logic/DayTables.h"

#include <functional>

#include "calendar/engine/LunarTables.h"
#include "platform/Numbers.h"

namespace {

// The animals a day's branch clashes with (冲), breaks (破) and lacks (无), by branch 子 .. 亥.
const char* const kClash[12] = {"马", "羊", "猴", "鸡", "狗", "猪",
                                "鼠", "牛", "虎", "兔", "龙", "蛇"};
const char* const kBreak[12] = {"羊", "猴", "鸡", "狗", "猪", "鼠",
                                "牛", "虎", "兔", "龙", "蛇", "马"};
const char* const kLack[12] = {"猴", "鸡", "狗", "猪", "鼠", "牛",
                               "虎", "兔", "龙", "蛇", "马", "牛"};
// The two animals lost (亡) in each block of ten days, 甲子 甲戌 甲申 甲午 甲辰 甲寅.
const char* const kLost[6] = {"狗、猪", "鼠、牛", "虎、兔", "龙、蛇", "马、羊", "猴、鸡"};

const char* const kTails[6][10] = {
    {"2056", "0956", "9456", "456", "56", "165", "1056", "1356", "3856", "356"},
    {"5210", "2710", "710", "910", "9410", "4510", "5610", "610", "10", "310"},
    {"38", "538", "5238", "2738", "7038", "0938", "9438", "4538", "5638", "6138"},
    {"1052", "0352", "3852", "852", "52", "752", "7052", "0952", "9452", "452"},
    {"5670", "6170", "170", "370", "3870", "8570", "5270", "270", "70", "970"},
    {"49", "549", "5649", "6149", "1049", "0349", "3849", "8549", "5249", "2749"},
};

// One value per line (both days of a line share it).
const char* const kElements[30] = {"土", "水", "水土", "水",   "土",   "金", "金",   "水",
                                   "木", "金", "火土", "火",   "金",   "土", "火土", "火土",
                                   "金", "土", "火",   "火土", "木",   "火", "木",   "木",
                                   "土", "土", "水",   "水",   "水土", "土"};

const char* const kNotice = "本表为本软件专有资料,未经许可严禁转载、复制或以任何形式传播!";

// The day's stem and branch; the tables write the branch 巳 as "已".
std::string DayName(int day) {
  const int branch = FloorMod(day, 12);
  return std::string(StemNames[FloorMod(day, 10)]) + (branch == 5 ? "已" : BranchNames[branch]);
}

// Header, thirty lines of two days each (the first day's value padded with dots to `width`
// bytes), an empty line and the notice; every line ends with CR LF except the notice.
std::string DayTable(const char* header, int width, const std::function<std::string(int)>& value) {
  std::string text = std::string(header) + "\r\n";
  for (int line = 0; line < 30; ++line) {
    const int first = 2 * line;
    const std::string firstValue = value(first);
    const size_t dots =
        firstValue.size() < static_cast<size_t>(width) ? width - firstValue.size() : 0;
    text += DayName(first) + "日:" + firstValue + std::string(dots, '.') + DayName(first + 1) +
            "日:" + value(first + 1) + "\r\n";
  }
  return text + "\r\n" + kNotice;
}

}  // namespace

std::string ZodiacKillDayTable() {
  return DayTable("杀肖:", 26, [](int day) {
    const int branch = FloorMod(day, 12);
    return std::string("冲") + kClash[branch] + "破" + kBreak[branch] + "无" + kLack[branch] +
           "亡" + kLost[day / 10];
  });
}

std::string TailKillDayTable() {
  return DayTable("杀尾:", 10,
                  [](int day) { return std::string(kTails[day / 10][FloorMod(day, 10)]); });
}

std::string ElementKillDayTable() {
  return DayTable("杀五行:", 12, [](int day) { return std::string(kElements[day / 2]); });
}
