// Text on the canvas. Layout is checked through the text recorder with fixed metrics (six
// pixels per byte, twelve per line), so the results do not depend on installed fonts; pixel
// checks only compare a text's own drawing against its background.
#include <gtest/gtest.h>

#include <QFontInfo>

#include "platform/gui/CanvasImpl.h"
#include "platform/gui/Graphics.h"
#include "tests/support/TextRecorder.h"

void EnsureGuiApp();

namespace {

constexpr TColor kMarker = RGB(1, 2, 3);

class TextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    bmp.SetSize(120, 60);
    c().Brush().SetColor(kMarker);
    c().FillRect(Rect(0, 0, 120, 60));
    c().Brush().SetStyle(bsClear);
  }
  TCanvas& c() { return bmp.Canvas(); }
  // Lines of the last record, as "x,y:text".
  std::vector<std::string> LastLines(const TTextRecorder& recorder) {
    std::vector<std::string> out;
    const auto records = recorder.Records();
    if (records.empty()) return out;
    for (const TTextLine& l : records.back().Lines)
      out.push_back(std::to_string(l.X) + "," + std::to_string(l.Y) + ":" + l.Text);
    return out;
  }
  TBitmap bmp;
};

using Lines = std::vector<std::string>;

TEST_F(TextTest, FixedMetricsCountBytes) {
  TTextRecorder recorder(6, 12);
  EXPECT_EQ(c().TextWidth("ab"), 12);
  EXPECT_EQ(c().TextWidth("中文"), 24);
  EXPECT_EQ(c().TextHeight("x"), 12);
  EXPECT_EQ(c().TextExtent("abc"), (TSize{18, 12}));
  EXPECT_EQ(c().TextWidth(""), 0);
}

TEST_F(TextTest, CalcRectMeasuresWithoutDrawing) {
  TTextRecorder recorder(6, 12);
  TRect r = Rect(10, 5, 200, 300);
  EXPECT_EQ(c().DrawText("abc", r, DT_SINGLELINE | DT_CALCRECT), 12);
  EXPECT_EQ(r, Rect(10, 5, 28, 17));

  // Word break: the width is kept at most the widest line; the height counts the lines.
  r = Rect(0, 0, 30, 0);
  EXPECT_EQ(c().DrawText("aa bb cc", r, DT_WORDBREAK | DT_CALCRECT), 24);
  EXPECT_EQ(r, Rect(0, 0, 30, 24));
  // A word wider than the line stays whole and widens the rectangle.
  r = Rect(0, 0, 30, 0);
  EXPECT_EQ(c().DrawText("abcdefgh ab", r, DT_WORDBREAK | DT_CALCRECT), 24);
  EXPECT_EQ(r.Right, 48);
  // Chinese text breaks between characters.
  r = Rect(0, 0, 30, 0);
  EXPECT_EQ(c().DrawText("中文字", r, DT_WORDBREAK | DT_CALCRECT), 24);
  EXPECT_EQ(r.Right, 24);
  // Line breaks count without word break; single line ignores them.
  r = Rect(0, 0, 30, 0);
  EXPECT_EQ(c().DrawText("a\r\nbb\ncc\rd", r, DT_CALCRECT), 48);
  r = Rect(0, 0, 30, 0);
  EXPECT_EQ(c().DrawText("a\r\nbb", r, DT_SINGLELINE | DT_CALCRECT), 12);
  EXPECT_EQ(r.Right, 18);
  // Accelerator marks are not measured.
  r = Rect(0, 0, 100, 0);
  c().DrawText("&File", r, DT_SINGLELINE | DT_CALCRECT);
  EXPECT_EQ(r.Right, 24);
  r = Rect(0, 0, 100, 0);
  c().DrawText("&File", r, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  EXPECT_EQ(r.Right, 30);
  // Nothing to measure.
  r = Rect(4, 4, 50, 50);
  EXPECT_EQ(c().DrawText("", r, DT_CALCRECT), 0);
  EXPECT_EQ(r, Rect(4, 4, 4, 4));

  EXPECT_TRUE(recorder.Records().empty());
}

TEST_F(TextTest, AlignmentAndVerticalCentreOfASingleLine) {
  TTextRecorder recorder(6, 12);
  TRect r = Rect(0, 0, 100, 20);
  c().DrawText("abc", r, DT_LEFT | DT_SINGLELINE);
  EXPECT_EQ(LastLines(recorder), Lines{"0,0:abc"});
  c().DrawText("abc", r, DT_CENTER | DT_SINGLELINE);
  EXPECT_EQ(LastLines(recorder), Lines{"41,0:abc"});
  c().DrawText("abc", r, DT_RIGHT | DT_SINGLELINE);
  EXPECT_EQ(LastLines(recorder), Lines{"82,0:abc"});
  EXPECT_EQ(c().DrawText("abc", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE), 16);
  EXPECT_EQ(LastLines(recorder), Lines{"41,4:abc"});
  c().DrawText("abc", r, DT_BOTTOM | DT_SINGLELINE);
  EXPECT_EQ(LastLines(recorder), Lines{"0,8:abc"});
  // Vertical centring needs a single line.
  c().DrawText("abc", r, DT_VCENTER);
  EXPECT_EQ(LastLines(recorder), Lines{"0,0:abc"});
  // Each wrapped line is aligned on its own.
  r = Rect(10, 10, 40, 60);
  c().DrawText("aa bbbb", r, DT_CENTER | DT_WORDBREAK);
  EXPECT_EQ(LastLines(recorder), (Lines{"19,10:aa", "13,22:bbbb"}));

  // The origin moves what is recorded, as it moves the drawing.
  c().MoveOrigin(5, 7);
  r = Rect(0, 0, 50, 12);
  c().DrawText("x", r, DT_SINGLELINE);
  EXPECT_EQ(LastLines(recorder), Lines{"5,7:x"});
  EXPECT_EQ(recorder.Records().back().Rect, Rect(5, 7, 55, 19));
}

TEST_F(TextTest, AmpersandMarksTheAccelerator) {
  TTextRecorder recorder(6, 12);
  TRect r = Rect(0, 0, 100, 20);
  c().DrawText("&File", r, DT_SINGLELINE);
  auto rec = recorder.Records().back();
  EXPECT_EQ(rec.Text, "&File");
  EXPECT_EQ(rec.Lines[0].Text, "File");
  EXPECT_EQ(rec.Lines[0].Accelerator, 0);

  c().DrawText("Save &As", r, DT_SINGLELINE);
  EXPECT_EQ(recorder.Records().back().Lines[0].Accelerator, 5);
  c().DrawText("R&&D", r, DT_SINGLELINE);
  EXPECT_EQ(recorder.Records().back().Lines[0].Text, "R&D");
  EXPECT_EQ(recorder.Records().back().Lines[0].Accelerator, -1);
  c().DrawText("&File", r, DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(recorder.Records().back().Lines[0].Text, "&File");
  EXPECT_EQ(recorder.Records().back().Lines[0].Accelerator, -1);
  // A Chinese character after '&' is the accelerator; the offset counts bytes.
  c().DrawText("打开&文件", r, DT_SINGLELINE);
  EXPECT_EQ(recorder.Records().back().Lines[0].Text, "打开文件");
  EXPECT_EQ(recorder.Records().back().Lines[0].Accelerator, 4);
  // A lone '&' at the end stays.
  c().DrawText("A&", r, DT_SINGLELINE);
  EXPECT_EQ(recorder.Records().back().Lines[0].Text, "A&");
  EXPECT_EQ(recorder.Find("A&").size(), 1u);
}

TEST_F(TextTest, TabsExpandToEightAverageCharacters) {
  TTextRecorder recorder(6, 12);
  TRect r = Rect(0, 0, 200, 20);
  c().DrawText("a\tb", r, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
  EXPECT_EQ(r.Right, 54);
  r = Rect(0, 0, 200, 20);
  c().DrawText("abcdefghi\tb", r, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
  EXPECT_EQ(r.Right, 102);  // the second stop at 96
}

TEST_F(TextTest, TextOutRecordsAndMovesThePen) {
  TTextRecorder recorder(6, 12);
  c().Font().SetName("宋体");
  c().Font().SetSize(9);
  c().Font().SetColor(clRed);
  c().TextOut(7, 3, "九九");
  EXPECT_EQ(c().PenPos(), Point(31, 3));
  const auto records = recorder.Find("九九");
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].Call, TTextCall::TextOut);
  EXPECT_EQ(records[0].Rect, Rect(7, 3, 31, 15));
  EXPECT_EQ(records[0].FontName, "宋体");
  EXPECT_EQ(records[0].FontSize, 9);
  EXPECT_EQ(records[0].FontColor, clRed);
  EXPECT_FALSE(records[0].Opaque);

  {
    TTextRecorder inner;  // the newest recorder receives
    c().TextOut(0, 0, "inner");
    EXPECT_EQ(inner.Records().size(), 1u);
  }
  c().TextOut(0, 0, "outer");
  EXPECT_EQ(recorder.Records().size(), 2u);
}

TEST_F(TextTest, SolidBrushFillsTheTextCellAndClearBrushDoesNot) {
  c().Font().SetName("Arial");
  c().Font().SetSize(10);
  c().Font().SetColor(clBlack);
  const TSize extent = c().TextExtent("Wg");
  ASSERT_GT(extent.cx, 0);
  ASSERT_GT(extent.cy, 0);

  c().TextOut(10, 10, "Wg");
  EXPECT_EQ(bmp.PixelColor(10, 10), kMarker);  // top-left corner of the cell: no glyph ink
  bool inked = false;
  for (int y = 10; y < 10 + extent.cy; ++y)
    for (int x = 10; x < 10 + extent.cx; ++x) inked |= bmp.PixelColor(x, y) != kMarker;
  EXPECT_TRUE(inked);

  c().Brush().SetColor(clYellow);
  c().TextOut(10, 30, "Wg");
  EXPECT_EQ(bmp.PixelColor(10, 30), clYellow);
  EXPECT_EQ(bmp.PixelColor(10 + extent.cx - 1, 30 + extent.cy - 1), clYellow);
  EXPECT_EQ(bmp.PixelColor(10 + extent.cx, 30), kMarker);
  EXPECT_EQ(bmp.PixelColor(10, 30 + extent.cy), kMarker);
}

TEST_F(TextTest, TextRectAndDrawTextClipToTheirRectangle) {
  c().Font().SetSize(14);
  c().Font().SetColor(clBlack);
  c().TextRect(Rect(5, 5, 20, 15), 0, 0, "WWWWWWWW");
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 120; ++x)
      if (!PtInRect(Rect(5, 5, 20, 15), Point(x, y))) {
        ASSERT_EQ(bmp.PixelColor(x, y), kMarker) << x << "," << y;
      }

  // DrawText clips unless told not to.
  TRect r = Rect(40, 20, 50, 30);
  c().DrawText("WWWWWWWW", r, DT_SINGLELINE);
  for (int x = 50; x < 120; ++x) ASSERT_EQ(bmp.PixelColor(x, 24), kMarker) << x;
  c().DrawText("WWWWWWWW", r, DT_SINGLELINE | DT_NOCLIP);
  bool outside = false;
  for (int x = 50; x < 120; ++x) outside |= bmp.PixelColor(x, 24) != kMarker;
  EXPECT_TRUE(outside);

  // An opaque TextRect fills its whole rectangle.
  c().Brush().SetColor(clAqua);
  c().TextRect(Rect(60, 40, 70, 50), 60, 40, "");
  EXPECT_EQ(bmp.PixelColor(60, 40), clAqua);
  EXPECT_EQ(bmp.PixelColor(69, 49), clAqua);
  EXPECT_EQ(bmp.PixelColor(70, 49), kMarker);
}

TEST_F(TextTest, AcceleratorIsUnderlinedWhenDrawn) {
  TBitmap plain(40, 30, pf32bit);  // new bitmaps are white
  TBitmap marked(40, 30, pf32bit);
  for (TBitmap* b : {&plain, &marked}) {
    b->Canvas().Brush().SetStyle(bsClear);
    b->Canvas().Font().SetSize(12);
    b->Canvas().Font().SetColor(clBlack);
  }
  TRect r = Rect(0, 0, 40, 30);
  plain.Canvas().DrawText("H", r, DT_SINGLELINE);
  marked.Canvas().DrawText("&H", r, DT_SINGLELINE);
  // The same glyph, plus pixels of the underline below it.
  int extra = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool p = plain.PixelColor(x, y) != clWhite;
      const bool m = marked.PixelColor(x, y) != clWhite;
      ASSERT_FALSE(p && !m) << x << "," << y;
      extra += m && !p;
    }
  EXPECT_GT(extra, 2);
}

TEST(Fonts, SizeAndHeightAt96PixelsPerInch) {
  TFont f;
  EXPECT_EQ(f.Name(), "MS Sans Serif");
  EXPECT_EQ(f.Size(), 8);
  EXPECT_EQ(f.Height(), -11);
  f.SetSize(9);
  EXPECT_EQ(f.Height(), -12);
  f.SetSize(240);
  EXPECT_EQ(f.Height(), -320);
  f.SetHeight(-16);
  EXPECT_EQ(f.Size(), 12);
  f.SetHeight(20);  // a cell height
  EXPECT_EQ(f.Size(), -15);

  int changes = 0;
  f.OnChange = [&] { ++changes; };
  f.SetColor(clRed);
  f.SetColor(clRed);
  EXPECT_EQ(changes, 1);
  TFont g;
  g.SetStyle(fsBold | fsItalic);
  f.Assign(g);
  EXPECT_EQ(changes, 2);
  EXPECT_TRUE(f.SameAs(g));
  f.Assign(g);
  EXPECT_EQ(changes, 2);
  f.SetStyle(0x100);  // not a style bit
  EXPECT_EQ(f.Style(), 0u);
}

TEST(Fonts, OldFaceNamesMapToInstalledFaces) {
  EnsureGuiApp();
  EXPECT_EQ(SubstituteFontFamily("宋体"), "WenQuanYi Micro Hei");
  EXPECT_EQ(SubstituteFontFamily("黑体"), "WenQuanYi Micro Hei");
  EXPECT_EQ(SubstituteFontFamily("SimSun"), "WenQuanYi Micro Hei");
  EXPECT_EQ(SubstituteFontFamily("Arial Black"), "DejaVu Sans");
  EXPECT_TRUE(SubstituteFontForcesBold("Arial Black"));
  EXPECT_FALSE(SubstituteFontForcesBold("Arial"));
  EXPECT_EQ(SubstituteFontFamily("Times New Roman"), "Liberation Serif");
  EXPECT_EQ(SubstituteFontFamily("arial"), "Liberation Sans");
  EXPECT_EQ(SubstituteFontFamily("Tahoma"), "DejaVu Sans");
  EXPECT_EQ(SubstituteFontFamily("MS Sans Serif"), "DejaVu Sans");
  EXPECT_EQ(SubstituteFontFamily("Some Face"), "Some Face");
  EXPECT_EQ(SubstituteFontFamily(""), "DejaVu Sans");

  TFont f;
  f.SetName("宋体");
  f.SetSize(8);
  QFont q = ToQFont(f);
  EXPECT_EQ(q.pixelSize(), 11);
  EXPECT_EQ(QFontInfo(q).family(), QString("WenQuanYi Micro Hei"));
  f.SetName("Arial Black");
  f.SetStyle(fsItalic);
  q = ToQFont(f);
  EXPECT_TRUE(q.bold());
  EXPECT_TRUE(q.italic());
  EXPECT_EQ(QFontInfo(q).family(), QString("DejaVu Sans"));
  f.SetHeight(0x7FFFFFFF);  // absurd sizes are held to a drawable size
  EXPECT_LE(ToQFont(f).pixelSize(), 4000);
  f.SetHeight(-0x7FFFFFFF);
  EXPECT_LE(ToQFont(f).pixelSize(), 4000);
}

TEST_F(TextTest, RotatedTextGoesUpFromItsStart) {
  c().Font().SetSize(12);
  c().Font().SetColor(clBlack);
  c().Font().SetOrientation(900);
  c().TextOut(20, 55, "WWWW");
  // Rotated by 90 degrees the text runs upward from (20, 55): ink above, none below or left.
  bool above = false;
  for (int y = 0; y < 55; ++y)
    for (int x = 20; x < 40; ++x) above |= bmp.PixelColor(x, y) != kMarker;
  EXPECT_TRUE(above);
  for (int x = 0; x < 20; ++x)
    for (int y = 0; y < 60; ++y) ASSERT_EQ(bmp.PixelColor(x, y), kMarker) << x << "," << y;
}

}  // namespace
