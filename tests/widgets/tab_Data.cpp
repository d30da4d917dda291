// Tab records and their list, the colour sets, the region cache, caption pieces and the
// rectangle helpers.
#include "tests/widgets/TabTestSupport.h"
#include "widgets/WkTabText.h"

using namespace tabtest;

namespace {

TRegion Square(int x) { return TRegion(Rect(x, 0, x + 4, 4)); }

}  // namespace

TEST(TabRegionCache, CapacityKeepsTheMostRecentlyUsedAndReplacesOnReAdd) {
  TWkTabRegionCache cache;
  EXPECT_EQ(cache.Capacity(), 1);
  cache.Add(Rect(0, 0, 4, 4), Square(0));
  cache.Add(Rect(10, 0, 14, 4), Square(10));
  // Capacity 1: only the last region added is held.
  EXPECT_EQ(cache.Count(), 1);
  EXPECT_EQ(cache.IndexOfRect(Rect(0, 0, 4, 4)), nullptr);
  ASSERT_NE(cache.IndexOfRect(Rect(10, 0, 14, 4)), nullptr);

  cache.SetCapacity(-1);
  for (int i = 0; i < 5; ++i) cache.Add(Rect(i * 10, 0, i * 10 + 4, 4), Square(i * 10));
  EXPECT_EQ(cache.Count(), 5);
  // Re-adding a cached rectangle keeps the count, moves it to the front and keeps the new
  // region (the old one is gone, not leaked).
  cache.Add(Rect(0, 0, 4, 4), Square(100));
  EXPECT_EQ(cache.Count(), 5);
  EXPECT_TRUE(cache.IndexOfRect(Rect(0, 0, 4, 4))->Contains(101, 1));
  EXPECT_FALSE(cache.IndexOfRect(Rect(0, 0, 4, 4))->Contains(1, 1));
  // Lowering to 2 frees the three least recently used: 10, 20 and 30.
  cache.SetCapacity(2);
  EXPECT_EQ(cache.Count(), 2);
  EXPECT_NE(cache.IndexOfRect(Rect(0, 0, 4, 4)), nullptr);
  EXPECT_NE(cache.IndexOfRect(Rect(40, 0, 44, 4)), nullptr);
  for (int x : {10, 20, 30}) EXPECT_EQ(cache.IndexOfRect(Rect(x, 0, x + 4, 4)), nullptr) << x;
  cache.Clear();
  EXPECT_EQ(cache.Count(), 0);
}

TEST(TabRegionCache, BadCapacitiesRaiseTheKitMessage) {
  TWkTabRegionCache cache;
  for (int bad : {0, -2, -100}) {
    try {
      cache.SetCapacity(bad);
      ADD_FAILURE() << bad << " accepted";
    } catch (const EWkTabControlError& e) {
      EXPECT_STREQ(e.what(), "Capacity must be -1 (to cache all regions) or > 0");
    }
  }
  EXPECT_EQ(cache.Capacity(), 1);
}

TEST(TabData, ListOwnsCopiesAndChecksIndexes) {
  TWkTabDataList list;
  TWkTabData* a = list.Add();
  a->Caption = "&File";
  a->Color = clRed;
  a->ImageIndex = 3;
  a->DisabledIndex = 4;
  a->Enabled = false;
  a->Hint = "hint";
  a->Rect = Rect(1, 2, 3, 4);
  a->Row = 2;
  TWkTabDataList copy;
  copy.Add()->Caption = "old";
  copy.Assign(list);
  ASSERT_EQ(copy.Count(), 1);
  const TWkTabData* b = copy.Items(0);
  EXPECT_EQ(b->Caption, "&File");
  EXPECT_EQ(b->Color, clRed);
  EXPECT_EQ(b->ImageIndex, 3);
  EXPECT_EQ(b->DisabledIndex, 4);
  EXPECT_FALSE(b->Enabled);
  EXPECT_EQ(b->Hint, "hint");
  // The layout is not copied.
  EXPECT_EQ(b->Rect, TRect{});
  EXPECT_EQ(b->Row, 0);
  EXPECT_THROW(list.Items(1), EListError);
  EXPECT_THROW(list.Items(-1), EListError);
  EXPECT_THROW(list.SetItem(5, new TWkTabData), EListError);  // freed, not leaked
  list.SetItem(0, new TWkTabData);
  EXPECT_EQ(list.Items(0)->Caption, "");
}

TEST(TabData, ColourSetsTellTheirOwnerOfRealChangesOnly) {
  int told = 0;
  TWkTabColors tabs([&] { ++told; });
  TWkTextColors texts([&] { ++told; });
  EXPECT_EQ(tabs.HighlightBar(), clHighlight);
  EXPECT_EQ(tabs.Shadow(), clBtnFace);
  EXPECT_EQ(tabs.Unselected(), clWindow);
  EXPECT_EQ(texts.DisabledHighlight(), clBtnHighlight);
  EXPECT_EQ(texts.DisabledShadow(), clBtnShadow);
  EXPECT_EQ(texts.Selected(), clBtnText);
  EXPECT_EQ(texts.Unselected(), clBtnText);
  tabs.SetShadow(clBtnFace);
  texts.SetSelected(clBtnText);
  EXPECT_EQ(told, 0);
  tabs.SetShadow(clRed);
  texts.SetUnselected(clBlue);
  EXPECT_EQ(told, 2);
}

TEST(TabData, CaptionPiecesAndRectangleHelpers) {
  EXPECT_EQ(SplitTabCaptionLines("a\r\nbc\r\n"), (std::vector<std::string>{"a", "bc", ""}));
  const TTabCaptionPieces p = SplitTabAccelerator("Sa&ve && go");
  EXPECT_EQ(p.Before, "Sa");
  EXPECT_EQ(p.Accel, "v");
  EXPECT_EQ(p.After, "e & go");
  const TTabCaptionPieces q = SplitTabAccelerator("R&&D");
  EXPECT_EQ(q.Before, "R&D");
  EXPECT_EQ(q.Accel, "");
  EXPECT_EQ(TabAcceleratorChar("&File"), 'f');
  EXPECT_EQ(TabAcceleratorChar("R&&D"), 0);
  EXPECT_EQ(StripTabAccelerator("文&件"), "文件");
  // A four-byte character (GB18030: an emoji) is one character, as the accelerator and around it.
  const TTabCaptionPieces e = SplitTabAccelerator("Q&😀x");
  EXPECT_EQ(U8(e.Before), "Q");
  EXPECT_EQ(U8(e.Accel), U8("😀"));
  EXPECT_EQ(U8(e.After), "x");
  const TTabCaptionPieces g = SplitTabAccelerator("😀&&&中😀&");
  EXPECT_EQ(U8(g.Before), U8("😀&"));
  EXPECT_EQ(U8(g.Accel), U8("中"));
  EXPECT_EQ(U8(g.After), U8("😀"));
  EXPECT_EQ(U8(StripTabAccelerator("&&😀")), U8("&😀"));
  EXPECT_EQ(TabAcceleratorChar("Q&😀x"), 0);
  EXPECT_EQ(TabAcceleratorChar("😀&x"), 'x');

  EXPECT_EQ(NormalizeRect(Rect(10, 8, 2, 4)), Rect(2, 4, 10, 8));
  EXPECT_TRUE(PointInControlRect(Rect(10, 8, 2, 4), Point(2, 4)));
  EXPECT_FALSE(PointInControlRect(Rect(10, 8, 2, 4), Point(10, 5)));  // right edge excluded
  EXPECT_TRUE(IsNullRect(Rect(0, 0, 0, 0)));
  EXPECT_FALSE(IsNullRect(Rect(0, 0, 0, 1)));
}
