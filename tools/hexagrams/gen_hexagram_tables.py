#!/usr/bin/env python3
"""Writes workbench/logic/HexagramTablesData.cpp: the hexagram tables of the chart.

Nothing is copied from elsewhere: every text follows from the classical rules written below
(the palace order of the 64 hexagrams, the najia branches of the eight trigrams, the elements
of the branches, the six relatives against the palace, the 世 line by the place in the palace,
the hidden spirits taken from the palace's pure hexagram, and the six-spirit order by day stem).

The output is UTF-8 source; the build turns its literals into GBK bytes. It is checked in, so a
build never runs this script.

Usage:
  gen_hexagram_tables.py [output path]   (default: workbench/logic/HexagramTablesData.cpp)
"""

import os
import sys

# Trigram: code top line first, element, najia branches of lines 1..3 (as lower trigram) and
# 4..6 (as upper trigram), each bottom up.
TRIGRAMS = {
    "乾": ("111", "金", "子寅辰", "午申戌"),
    "兑": ("011", "金", "巳卯丑", "亥酉未"),
    "离": ("101", "火", "卯丑亥", "酉未巳"),
    "震": ("001", "木", "子寅辰", "午申戌"),
    "巽": ("110", "木", "丑亥酉", "未巳卯"),
    "坎": ("010", "水", "寅辰午", "申戌子"),
    "艮": ("100", "土", "辰午申", "戌子寅"),
    "坤": ("000", "土", "未巳卯", "丑亥酉"),
}

# The eight palaces in table order, each with its hexagrams by place 0..7: the pure hexagram,
# the first to fifth changed, the wandering soul, the returning soul. Given as (name, upper
# trigram, lower trigram).
PALACES = [
    ("乾", [("乾为天", "乾", "乾"), ("天风姤", "乾", "巽"), ("天山遯", "乾", "艮"),
            ("天地否", "乾", "坤"), ("风地观", "巽", "坤"), ("山地剥", "艮", "坤"),
            ("火地晋", "离", "坤"), ("火天大有", "离", "乾")]),
    ("兑", [("兑为泽", "兑", "兑"), ("泽水困", "兑", "坎"), ("泽地萃", "兑", "坤"),
            ("泽山咸", "兑", "艮"), ("水山蹇", "坎", "艮"), ("地山谦", "坤", "艮"),
            ("雷山小过", "震", "艮"), ("雷泽归妹", "震", "兑")]),
    ("离", [("离为火", "离", "离"), ("火山旅", "离", "艮"), ("火风鼎", "离", "巽"),
            ("火水未济", "离", "坎"), ("山水蒙", "艮", "坎"), ("风水涣", "巽", "坎"),
            ("天水讼", "乾", "坎"), ("天火同人", "乾", "离")]),
    ("震", [("震为雷", "震", "震"), ("雷地豫", "震", "坤"), ("雷水解", "震", "坎"),
            ("雷风恒", "震", "巽"), ("地风升", "坤", "巽"), ("水风井", "坎", "巽"),
            ("泽风大过", "兑", "巽"), ("泽雷随", "兑", "震")]),
    ("巽", [("巽为风", "巽", "巽"), ("风天小畜", "巽", "乾"), ("风火家人", "巽", "离"),
            ("风雷益", "巽", "震"), ("天雷无妄", "乾", "震"), ("火雷噬嗑", "离", "震"),
            ("山雷颐", "艮", "震"), ("山风蛊", "艮", "巽")]),
    ("坎", [("坎为水", "坎", "坎"), ("水泽节", "坎", "兑"), ("水雷屯", "坎", "震"),
            ("水火既济", "坎", "离"), ("泽火革", "兑", "离"), ("雷火丰", "震", "离"),
            ("地火明夷", "坤", "离"), ("地水师", "坤", "坎")]),
    ("艮", [("艮为山", "艮", "艮"), ("山火贲", "艮", "离"), ("山天大畜", "艮", "乾"),
            ("山泽损", "艮", "兑"), ("火泽睽", "离", "兑"), ("天泽履", "乾", "兑"),
            ("风泽中孚", "巽", "兑"), ("风山渐", "巽", "艮")]),
    ("坤", [("坤为地", "坤", "坤"), ("地雷复", "坤", "震"), ("地泽临", "坤", "兑"),
            ("地天泰", "坤", "乾"), ("雷天大壮", "震", "乾"), ("泽天夬", "兑", "乾"),
            ("水天需", "坎", "乾"), ("水地比", "坎", "坤")]),
]

BRANCH_ELEMENT = dict(zip("子丑寅卯辰巳午未申酉戌亥", "水土木木土火火土金金土水"))
GENERATES = dict(zip("木火土金水", "火土金水木"))
OVERCOMES = dict(zip("木土水火金", "土水火金木"))
RELATIVES = ["兄弟", "子孙", "妻财", "父母", "官鬼"]

# 世 line by the place in the palace.
SHI_LINE = [6, 1, 2, 3, 4, 5, 4, 3]

SPIRITS = ["青龙", "朱雀", "勾陈", "腾蛇", "白虎", "玄武"]
# First spirit (of the bottom line) by day stem.
FIRST_SPIRIT = dict(zip("甲乙丙丁戊己庚辛壬癸", [0, 0, 1, 1, 2, 3, 4, 4, 5, 5]))

FULL_SPACE = "　"
HIDDEN_HEADER = "伏　　神　"


def relative(palace_element, element):
    if element == palace_element:
        return "兄弟"
    if GENERATES[palace_element] == element:
        return "子孙"
    if OVERCOMES[palace_element] == element:
        return "妻财"
    if GENERATES[element] == palace_element:
        return "父母"
    if OVERCOMES[element] == palace_element:
        return "官鬼"
    raise ValueError(palace_element + element)


def gbk_len(text):
    return len(text.encode("gbk"))


def line_branches(upper, lower):
    """Branches of lines 1..6, bottom up."""
    return list(TRIGRAMS[lower][2]) + list(TRIGRAMS[upper][3])


def build():
    table, names18, lines, lines_short = [], [], [], []
    for palace, members in PALACES:
        palace_element = TRIGRAMS[palace][1]
        pure_branches = line_branches(palace, palace)
        for place, (name, upper, lower) in enumerate(members):
            code = TRIGRAMS[upper][0] + TRIGRAMS[lower][0]
            branches = line_branches(upper, lower)
            shi = SHI_LINE[place]
            ying = shi + 3 if shi <= 3 else shi - 3
            relatives = [relative(palace_element, BRANCH_ELEMENT[b]) for b in branches]
            absent = set(RELATIVES) - set(relatives)

            padded = name + FULL_SPACE * ((8 - gbk_len(name)) // 2)
            title = padded + palace + "宫"
            table.append(code + (HIDDEN_HEADER if absent else "") + title)
            names18.append(code + title)

            for position in range(6, 0, -1):  # top line first
                b = branches[position - 1]
                yang = code[6 - position] == "1"
                mark = "世" if position == shi else "应" if position == ying else FULL_SPACE
                body = relatives[position - 1] + b + BRANCH_ELEMENT[b] + ("／" if yang else "∥") + mark
                prefix = ""
                if absent:
                    pb = pure_branches[position - 1]
                    pure_relative = relative(palace_element, BRANCH_ELEMENT[pb])
                    if pure_relative in absent:
                        prefix = pure_relative + pb + BRANCH_ELEMENT[pb] + "："
                    else:
                        prefix = FULL_SPACE * 5
                lines.append(prefix + body)
                lines_short.append(body)

    check(table, names18, lines, lines_short)
    return table, names18, lines, lines_short


def check(table, names18, lines, lines_short):
    codes = [entry[:6] for entry in table]
    assert len(set(codes)) == 64, "line codes must be distinct"
    assert sum(1 for entry in table if HIDDEN_HEADER in entry) == 44
    assert all(gbk_len(entry) in (18, 28) for entry in table)
    assert all(gbk_len(entry) == 18 for entry in names18)
    assert all(gbk_len(line) in (12, 22) for line in lines)
    assert all(gbk_len(line) == 12 for line in lines_short)


def spirit_orders():
    orders = []
    for stem in "甲乙丙丁戊己庚辛壬癸":
        first = FIRST_SPIRIT[stem]
        orders.append((stem, "".join(SPIRITS[(first + i) % 6] for i in range(6))))
    return orders


def c_string(text):
    return '"' + text + '"'


def write(path):
    table, names18, lines, lines_short = build()
    out = []
    out.append("// Generated by tools/hexagrams/gen_hexagram_tables.py; do not edit.")
    out.append("// The 64 hexagrams in palace order with their lines, worked out from the najia")
    out.append("// branches, the six relatives against the palace, the 世 and 应 places and the")
    out.append("// hidden spirits of the palace's pure hexagram.")
    out.append('#include "workbench/logic/HexagramTables.h"')
    out.append("")
    out.append("// clang-format off")
    out.append("const std::string_view HexagramTable[HexagramCount] = {")
    for k, entry in enumerate(table):
        out.append("    %s,  // %d" % (c_string(entry), k))
    out.append("};")
    out.append("")
    out.append("const std::string_view HexagramNames18[HexagramCount] = {")
    for k, entry in enumerate(names18):
        out.append("    %s,  // %d" % (c_string(entry), k))
    out.append("};")
    out.append("")
    out.append("const std::string_view HexagramLines[HexagramCount * 6] = {")
    for k in range(64):
        out.append("    // %d %s" % (k, names18[k][6:]))
        for i in range(6):
            out.append("    %s," % c_string(lines[6 * k + i]))
    out.append("};")
    out.append("")
    out.append("const std::string_view HexagramLinesShort[HexagramCount * 6] = {")
    for k in range(64):
        out.append("    // %d" % k)
        out.append("    " + " ".join(c_string(lines_short[6 * k + i]) + "," for i in range(6)))
    out.append("};")
    out.append("")
    out.append("const SixSpiritOrderRow SixSpiritOrders[10] = {")
    for stem, order in spirit_orders():
        out.append("    {%s, %s}," % (c_string(stem), c_string(order)))
    out.append("};")
    out.append("// clang-format on")
    out.append("")
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(out))


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "workbench", "logic",
                                                             "HexagramTablesData.cpp")
    write(path)


if __name__ == "__main__":
    main()
