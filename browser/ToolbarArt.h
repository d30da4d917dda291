// The browser tool bar's pictures, drawn by our own code: back, forward, stop, refresh, home,
// search, favourites and print, each in colour and greyed for a disabled button.
#pragma once

class TImageList;

// Index of each picture in the list; its disabled form follows all eight.
enum TToolbarPicture {
  tpBack,
  tpForward,
  tpStop,
  tpRefresh,
  tpHome,
  tpSearch,
  tpFavourites,
  tpPrint,
  kToolbarPictureCount
};
inline constexpr int DisabledPicture(TToolbarPicture picture) {
  return kToolbarPictureCount + picture;
}

// Adds the eight pictures, then their disabled forms, to a 16 x 16 list.
void DrawToolbarPictures(TImageList& list);
