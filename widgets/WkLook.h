// The widget kit's look enumerations (frame styles, sides, gradients, visual styles) and two
// small helpers every kit control uses: a scoped flag and a store-if-changed.
#pragma once

#include <initializer_list>

enum TFrameStyleEx {
  fsNone,
  fsFlat,
  fsGroove,
  fsBump,
  fsLowered,
  fsButtonDown,
  fsRaised,
  fsButtonUp,
  fsStatus,
  fsPopup,
  fsFlatBold,
  fsFlatRounded
};
// The styles fsNone..fsFlatBold; fsFlatRounded is drawn only by the controls that offer it.
using TFrameStyle = TFrameStyleEx;

enum TSide { sdLeft, sdTop, sdRight, sdBottom };
// A set of TSide held as bits 1 (left), 2 (top), 4 (right), 8 (bottom).
enum class TSides : unsigned {};
constexpr TSides NoSides = TSides{0};
constexpr TSides AllSides = TSides{15};
constexpr TSides SideSet(std::initializer_list<TSide> sides) {
  unsigned bits = 0;
  for (TSide s : sides) bits |= 1u << s;
  return TSides{bits};
}
constexpr bool HasSide(TSides sides, TSide side) {
  return (static_cast<unsigned>(sides) & (1u << side)) != 0;
}
constexpr TSides operator|(TSides a, TSides b) {
  return TSides{static_cast<unsigned>(a) | static_cast<unsigned>(b)};
}

enum TGradientDirection {
  gdDiagonalUp,
  gdDiagonalDown,
  gdHorizontalEnd,
  gdHorizontalCenter,
  gdHorizontalBox,
  gdVerticalEnd,
  gdVerticalCenter,
  gdVerticalBox,
  gdSquareBox,
  gdBigSquareBox
};
enum TWkVisualStyle { vsClassic, vsWinXP, vsGradient };
enum TWkGradientColorStyle { gcsSystem, gcsMSOffice, gcsCustom };
enum TFramingPreference { fpCustomFraming, fpXPThemes };
enum TWkHotTrackColorType { htctComplement, htctActual };
enum TAlignmentVertical { avTop, avCenter, avBottom };
enum TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
enum TOrientation { orHorizontal, orVertical };

// Sets a flag for the length of a scope (a re-entry guard or an "own change" mark), also when
// the scope is left by an exception.
class TWkFlagScope {
 public:
  explicit TWkFlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~TWkFlagScope() { flag_ = false; }
  TWkFlagScope(const TWkFlagScope&) = delete;
  TWkFlagScope& operator=(const TWkFlagScope&) = delete;

 private:
  bool& flag_;
};

// Stores a changed value; false when it was the same.
template <class T>
bool StoreChanged(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}
