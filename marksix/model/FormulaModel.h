// What the formula window shows: the captions and ticks of its twelve formulas, the six regular
// numbers as typed and the candidates of the next draw.
#pragma once

#include <array>
#include <functional>
#include <string>

class FormulaModel {
 public:
  FormulaModel();

  std::array<bool, 12> Ticked;  // all ticked at first
  std::array<std::string, 12> Captions;
  std::array<std::string, 6> Typed;
  std::string ResultText;

  // "公式A" .. "公式L": no formula file.
  void SetDefaultCaptions();
  // The captions of the formula file's records as they stand.
  void SetFileCaptions(const std::string& fileBytes);
  // Applies the ticked formulas of the file to the typed numbers: new captions and result.
  // False, changing nothing, for a number outside 1 .. 49. Raises, changing nothing, for a typed
  // text that is no whole number, for a file whose records do not convert (the error names
  // `path`) and for whatever `lunarYear` raises.
  bool Test(const std::string& fileBytes, const std::string& path,
            const std::function<int()>& lunarYear);
};
