// Painting of the calendar: pixels at the places the layout gives, and the texts each cell
// receives (recorded with fixed metrics, since font metrics differ between machines).
#include "tests/calendar_gui/CalendarGuiSupport.h"

using namespace calgui;

namespace {

constexpr TColor kMarker = RGB(1, 254, 3);

// Text outputs whose rectangle (DrawText) or text cell (TextOut) lies inside `box`.
std::vector<TTextRecord> TextsIn(const TTextRecorder& recorder, const TRect& box) {
  std::vector<TTextRecord> found;
  for (const TTextRecord& r : recorder.Records()) {
    TRect inter;
    if (r.Text.empty() || !IntersectRect(inter, r.Rect, box) || inter != r.Rect) continue;
    found.push_back(r);
  }
  return found;
}

}  // namespace

class CalendarPaintTest : public CalendarTest {
 protected:
  void SetUp() override {
    CalendarTest::SetUp();
    cal->SetDate(Day(2012, 2, 20));  // grid from Sunday 29 January; today is 15 February
    // The control's own colour is the background of the off-screen picture: a marker shows
    // every pixel Paint leaves alone.
    cal->SetColor(kMarker);
  }
  TColor PixelAt(int x, int y) { return picture_->PixelColor(x, y); }
  void Render() { picture_ = &cal->PaintOffscreen(); }

  TBitmap* picture_ = nullptr;
};

TEST_F(CalendarPaintTest, PaintCoversTheWholeControl) {
  Render();
  ASSERT_EQ(picture_->Width(), kWidth);
  ASSERT_EQ(picture_->Height(), kHeight);
  int left = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) left += PixelAt(x, y) == kMarker;
  EXPECT_EQ(left, 0);
  EXPECT_EQ(PixelAt(1, 1), ColorToRGB(clActiveCaption));              // title row
  EXPECT_EQ(PixelAt(1, kCellH + 1), ColorToRGB(clWindow));            // weekday row
  EXPECT_NE(PixelAt(1, 2 * kCellH - 1), ColorToRGB(clWindow));        // the line under it
  EXPECT_EQ(PixelAt(kWidth - 1, kHeight - 1), ColorToRGB(clWindow));  // day area
}

TEST_F(CalendarPaintTest, SelectedDayIsFilledAndCarriesAFocusFrame) {
  Render();
  const TRect cell = CellRect(22);  // 20 February
  const TColor highlight = ColorToRGB(clActiveCaption);
  EXPECT_EQ(PixelAt(cell.Left, cell.Top), highlight);
  EXPECT_EQ(PixelAt(cell.Left + 1, cell.Top + 1), highlight);
  EXPECT_EQ(PixelAt(cell.Right - 1, cell.Bottom - 1), highlight);
  EXPECT_NE(PixelAt(cell.Right, cell.Top + 1), highlight);
  EXPECT_NE(PixelAt(cell.Left + 1, cell.Bottom), highlight);
  // The dotted focus frame 2 pixels inside: every other pixel inverted.
  const int x = cell.Left + 2 + ((cell.Left + cell.Top) % 2);
  EXPECT_EQ(PixelAt(x, cell.Top + 2), highlight ^ 0xFFFFFF);
  EXPECT_EQ(PixelAt(x + 1, cell.Top + 2), highlight);
  EXPECT_EQ(PixelAt(x, cell.Top + 1), highlight);
}

TEST_F(CalendarPaintTest, TodayGetsARedFrameInsideItsCell) {
  cal->SetShowGrid(true);
  Render();
  const TRect cell = CellRect(17);  // 15 February
  for (TPoint p :
       {cell.TopLeft(), Point(cell.Right - 1, cell.Top), Point(cell.Left, cell.Bottom - 1),
        Point(cell.Right - 1, cell.Bottom - 1), Point(cell.Left + 3, cell.Top)})
    EXPECT_EQ(PixelAt(p.X, p.Y), clRed) << p.X << "," << p.Y;
  // Right and bottom edges are excluded: the next cell's grid line stays.
  EXPECT_EQ(PixelAt(cell.Right, cell.Top + 2), clSilver);
  EXPECT_EQ(PixelAt(cell.Left + 3, cell.Bottom), clSilver);
  EXPECT_NE(PixelAt(cell.Left + 1, cell.Top + 1), clRed);
}

TEST_F(CalendarPaintTest, GridLinesRunAtMultiplesOfTheCellSize) {
  cal->SetShowGrid(true);
  Render();
  // Six column lines from the top of the weekday row down to the bottom.
  for (int col = 1; col <= 6; ++col) {
    EXPECT_EQ(PixelAt(col * kCellW, kCellH), clSilver) << "column " << col;
    EXPECT_EQ(PixelAt(col * kCellW, kHeight - 1), clSilver) << "column " << col;
    EXPECT_NE(PixelAt(col * kCellW, kCellH - 1), clSilver) << "title row, column " << col;
    EXPECT_NE(PixelAt(col * kCellW + 1, kCellH + 2), clSilver) << "column " << col;
  }
  // Six row lines: the top of the day area and between the day rows, across the width.
  for (int row = 0; row <= 5; ++row) {
    const int y = kDayTop + row * kCellH;
    EXPECT_EQ(PixelAt(2, y), clSilver) << "row " << row;
    EXPECT_EQ(PixelAt(kWidth - 1, y), clSilver) << "row " << row;
    EXPECT_NE(PixelAt(kWidth - 1, y + 1), clSilver) << "row " << row;
  }
  EXPECT_NE(PixelAt(kWidth - 1, kDayTop + 6 * kCellH), clSilver);
}

TEST_F(CalendarPaintTest, BorderFramesTheClientArea) {
  cal->SetShowBorder(true);
  Render();
  const TColor grey = ColorToRGB(clGray);
  EXPECT_EQ(PixelAt(0, 0), grey);
  EXPECT_EQ(PixelAt(kWidth - 1, kHeight / 2), grey);
  EXPECT_EQ(PixelAt(kWidth / 2, kHeight - 1), grey);
  EXPECT_EQ(PixelAt(kWidth - 1, kHeight - 1), grey);
  EXPECT_NE(PixelAt(kWidth - 2, kHeight - 2), grey);
}

TEST_F(CalendarPaintTest, MarkedDaysAreFilledWithTheirMarkColour) {
  cal->FtvList()->SolarMarks().Add("0214", clYellow);
  Render();
  const TRect cell = CellRect(16);  // 14 February
  EXPECT_EQ(PixelAt(cell.Left + 1, cell.Top + 1), clYellow);
  EXPECT_NE(PixelAt(cell.Left - 1, cell.Top + 1), clYellow);
}

class CalendarTextTest : public CalendarPaintTest {
 protected:
  // 4 pixels a byte, 8 a line: the festival strip (52 wide) takes 12 bytes.
  TTextRecorder recorder{4, 8};
};

TEST_F(CalendarTextTest, EveryCellGetsItsDayNumberInItsDayBox) {
  cal->SetAutoFontSize(false);
  Render();
  for (int k = 0; k < 42; ++k) {
    int y = 0, m = 0, d = 0;
    DecodeDate(Day(2012, 1, 29) + k, y, m, d);
    const auto found = TextsIn(recorder, DayBox(k));
    ASSERT_EQ(found.size(), 1u) << "cell " << k;
    EXPECT_EQ(found[0].Text, std::to_string(d)) << "cell " << k;
    EXPECT_EQ(found[0].Rect, DayBox(k)) << "cell " << k;
    const TColor colour = k == 22      ? clWhite
                          : m != 2     ? clInactiveCaptionText
                          : k % 7 == 0 ? clRed
                          : k % 7 == 6 ? clMaroon
                                       : clWindowText;
    EXPECT_EQ(found[0].FontColor, colour) << "cell " << k;
  }
}

TEST_F(CalendarTextTest, LunarAndFestivalTextsGoToTheirBoxes) {
  Render();
  auto only = [&](const TRect& box) {
    const auto found = TextsIn(recorder, box);
    EXPECT_EQ(found.size(), 1u) << box.Left << "," << box.Top;
    return found.empty() ? TTextRecord{} : found[0];
  };
  // 29 January: lunar 正月初七, trailing.
  TTextRecord r = only(LunarBox(0));
  EXPECT_TRUE(SameGbk(r.Text, "初七"));
  EXPECT_EQ(r.FontColor, clInactiveCaptionText);
  // 4 February: 立春 in the term colour, vertically centred in the right-hand box.
  r = only(LunarBox(6));
  EXPECT_TRUE(SameGbk(r.Text, "立春"));
  EXPECT_EQ(r.FontColor, clNavy);
  EXPECT_EQ(r.Flags & (DT_VCENTER | DT_CENTER), DT_VCENTER);
  // 22 February opens the second lunar month; 21 February is 正月三十.
  EXPECT_TRUE(SameGbk(only(LunarBox(24)).Text, "二月"));
  EXPECT_TRUE(SameGbk(only(LunarBox(23)).Text, "三十"));
  // 6 February: 元宵节 中国情人节 (17 bytes) is cut to fit 12 bytes, centred in the strip.
  r = only(FtvBox(8));
  EXPECT_TRUE(SameGbk(r.Text, "元宵节 中…"));
  EXPECT_EQ(r.FontColor, clPurple);
  EXPECT_EQ(r.Flags & (DT_VCENTER | DT_CENTER), DT_CENTER);
  // 14 February: 西方情人节 fits as it is.
  EXPECT_TRUE(SameGbk(only(FtvBox(16)).Text, "西方情人节"));
  EXPECT_EQ(TextsIn(recorder, FtvBox(17)).size(), 0u);
}

TEST_F(CalendarTextTest, ChineseEarNamesTheTitleAndCellsByStemAndBranch) {
  cal->SetChineseEar(true);
  Render();
  EXPECT_EQ(recorder.Find("壬辰(龙)年壬寅月").size(), 1u);
  EXPECT_TRUE(SameGbk(TextsIn(recorder, LunarBox(5))[0].Text, "甲午"));  // 3 February
  EXPECT_TRUE(SameGbk(TextsIn(recorder, LunarBox(6))[0].Text, "立春"));  // the term wins
}

TEST_F(CalendarTextTest, TitleAndWeekdayNames) {
  Render();
  EXPECT_EQ(recorder.Find("2012年2月").size(), 1u);
  EXPECT_EQ(recorder.Find("星期日").size(), 1u);
  EXPECT_EQ(recorder.Find("星期日")[0].FontColor, clRed);
  EXPECT_EQ(recorder.Find("星期六")[0].FontColor, clMaroon);
  for (const char* arrow : {"《", "〈", "〉", "》"}) EXPECT_EQ(recorder.Find(arrow).size(), 1u);

  recorder.Clear();
  cal->SetEnWeekName(true);
  cal->SetUseISO8601(true);
  cal->SetShowArrow(false);
  Render();
  EXPECT_EQ(recorder.Find("February 2012").size(), 1u);
  const auto monday = recorder.Find("Mon");
  const auto sunday = recorder.Find("Sun");
  ASSERT_EQ(monday.size(), 1u);
  ASSERT_EQ(sunday.size(), 1u);
  EXPECT_EQ(monday[0].Rect.Left, 0);
  EXPECT_EQ(sunday[0].Rect.Left, 6 * kCellW);
  EXPECT_EQ(recorder.Find("《").size(), 0u);
}

TEST_F(CalendarTextTest, VerticalTextRunsDownTheRightBoxOneCharacterALine) {
  cal->SetShowVertical(true);
  Render();
  const TRect box = LunarBox(6);  // 4 February, 立春
  const auto li = recorder.Find("立");
  const auto chun = recorder.Find("春");
  ASSERT_EQ(li.size(), 1u);
  ASSERT_EQ(chun.size(), 1u);
  EXPECT_EQ(li[0].Lines[0].X, box.Left + 2);
  EXPECT_EQ(li[0].Lines[0].Y, box.Top + box.Height() / 3 - 8);
  EXPECT_EQ(chun[0].Lines[0].Y, li[0].Lines[0].Y + 8);
}

TEST_F(CalendarTextTest, OneBoxForBothShowsTheFestivalInsteadOfTheLunarDay) {
  cal->SetLunarCalStyle(csBottom);
  Render();
  EXPECT_TRUE(SameGbk(TextsIn(recorder, FtvBox(8))[0].Text, "元宵节 中…"));
  EXPECT_EQ(TextsIn(recorder, FtvBox(8)).size(), 1u);
  EXPECT_TRUE(SameGbk(TextsIn(recorder, FtvBox(7))[0].Text, "十四"));  // 5 February
  // The day number now has the whole width.
  EXPECT_EQ(TextsIn(recorder, Rect(0, kDayTop, kCellW, kDayTop + kCellH - kFtvH))[0].Rect,
            Rect(0, kDayTop, kCellW, kDayTop + kCellH - kFtvH));
}

TEST_F(CalendarTextTest, CellsOutsideTheEngineYearsShowNoLunarText) {
  cal->SetDate(Day(1900, 1, 10));  // grid from 31 December 1899
  Render();
  EXPECT_EQ(TextsIn(recorder, LunarBox(0)).size(), 0u);
  EXPECT_TRUE(SameGbk(TextsIn(recorder, LunarBox(6))[0].Text, "小寒"));  // 6 January 1900
  EXPECT_EQ(TextsIn(recorder, LunarBox(1)).size(), 0u);  // no lunar date before 31 January
  EXPECT_TRUE(SameGbk(TextsIn(recorder, LunarBox(31))[0].Text, "正月"));  // 31 January

  recorder.Clear();
  cal->SetChineseEar(true);
  Render();
  EXPECT_EQ(TextsIn(recorder, LunarBox(0)).size(), 0u);
  EXPECT_TRUE(SameGbk(TextsIn(recorder, LunarBox(15))[0].Text, "戊子"));

  recorder.Clear();
  cal->SetDate(Day(2100, 12, 15));  // grid up to 8 January 2101
  Render();
  EXPECT_EQ(TextsIn(recorder, LunarBox(33)).size(), 1u);  // 31 December 2100
  for (int k = 34; k < 42; ++k) EXPECT_EQ(TextsIn(recorder, LunarBox(k)).size(), 0u) << k;
}

TEST_F(CalendarTextTest, ArrowBoxesSitFiveFromTheEndsAndOnePixelApart) {
  // "《" is 8 x 8 here; the boxes are centred in the 39-pixel title row.
  const TRect boxes[] = {Bounds(5, 15, 8, 8), Bounds(14, 15, 8, 8), Bounds(347, 15, 8, 8),
                         Bounds(356, 15, 8, 8)};
  const char* const glyphs[] = {"《", "〈", "〉", "》"};
  const char* const hints[] = {"上一年", "上一月", "下一月", "下一年"};
  const TDate steps[] = {Day(2011, 2, 20), Day(2012, 1, 20), Day(2012, 3, 20), Day(2013, 2, 20)};
  Render();
  for (int i = 0; i < 4; ++i) {
    const auto found = recorder.Find(glyphs[i]);
    ASSERT_EQ(found.size(), 1u) << i;
    EXPECT_EQ(found[0].Rect, boxes[i]) << i;
    EXPECT_EQ(found[0].FontColor, clWhite) << i;

    cal->SetDate(Day(2012, 2, 20));
    const TPoint last = Point(boxes[i].Right - 1, boxes[i].Bottom - 1);
    cal->MouseMove(0, last.X, last.Y);
    EXPECT_TRUE(SameGbk(cal->HintWindow()->Caption(), hints[i])) << i;
    ClickAt(last);
    EXPECT_EQ(cal->Date(), steps[i]) << i;
  }
  // The pixel between the two left arrows and the one above them belong to neither.
  cal->SetDate(Day(2012, 2, 20));
  ClickAt(Point(13, 16));
  ClickAt(Point(6, 14));
  EXPECT_EQ(cal->Date(), Day(2012, 2, 20));
  cal->MouseMove(0, 13, 16);
  EXPECT_FALSE(cal->HintWindow()->Visible());
}

TEST_F(CalendarTextTest, WeekendColoursFollowTheColumnsOfAMondayWeek) {
  cal->SetUseISO8601(true);  // grid from Monday 30 January
  cal->SetAutoFontSize(false);
  Render();
  const auto numberColour = [&](int k) {
    const auto found = TextsIn(recorder, DayBox(k));
    return found.size() == 1 ? found[0].FontColor : clNone;
  };
  EXPECT_EQ(numberColour(7), clWindowText);           // Monday 6 February
  EXPECT_EQ(numberColour(11), clWindowText);          // Friday 10 February
  EXPECT_EQ(numberColour(12), clMaroon);              // Saturday 11 February
  EXPECT_EQ(numberColour(13), clRed);                 // Sunday 12 February
  EXPECT_EQ(numberColour(0), clInactiveCaptionText);  // Monday 30 January
  EXPECT_EQ(numberColour(21), clWhite);               // the selected Monday 20 February
}

// The layout gives each text the largest size whose sample fits its box: the same size as
// trying every size from 5 up, whatever the control's size.
TEST_F(CalendarPaintTest, TextsTakeTheLargestSizeThatFits) {
  auto scan = [](const TFont& font, const std::string& sample, int width, int height) {
    TBitmap probe(1, 1);
    probe.Canvas().Font().Assign(font);
    for (int size = 5; size <= 1000; ++size) {
      probe.Canvas().Font().SetSize(size);
      if (probe.Canvas().TextWidth(sample) > width || probe.Canvas().TextHeight(sample) > height)
        return size - 1;
    }
    return 1000;
  };
  // The last size comes again: a size fitted before is taken from what was found then.
  for (TPoint size : {Point(kWidth, kHeight), Point(150, 120), Point(900, 700), Point(40, 30),
                      Point(150, 120)}) {
    cal->SetBounds(0, 0, size.X, size.Y);
    const TRect client = cal->GetClientRect();
    const int H = client.Height() / 8;
    TLssCalColors& c = *cal->CalColors();
    EXPECT_EQ(c.TitleTextFont()->Size(),
              scan(*c.TitleTextFont(), FormatDateTime("yyyy年mm月", cal->Date()), client.Width(),
                   static_cast<int>(H * 0.8)))
        << size.X << " x " << size.Y;
    EXPECT_EQ(c.BackMonthTextFont()->Size(),
              scan(*c.BackMonthTextFont(), "9", client.Width(),
                   static_cast<int>((client.Height() - 2 * H) * 0.9)))
        << size.X << " x " << size.Y;
  }
}

TEST(CalendarLayout, ALayoutLeftPendingFitsWithTheSettingsItWasAskedWith) {
  // One calendar laid out at once (its look read right after the resize), one whose layout
  // waits: both then turn to vertical lunar texts, which takes no new layout.
  TLssCalendar now(nullptr), later(nullptr);
  now.SetBounds(0, 0, 420, 320);
  const int fitted = now.CalColors()->LunarTextFont()->Size();
  now.SetShowVertical(true);
  later.SetBounds(0, 0, 420, 320);
  later.SetShowVertical(true);
  EXPECT_EQ(later.CalColors()->LunarTextFont()->Size(), fitted);
  EXPECT_EQ(now.CalColors()->LunarTextFont()->Size(), fitted);
  // A new date on a pending layout: the title keeps the size fitted to the date asked with.
  TLssCalendar dated(nullptr);
  dated.SetBounds(0, 0, 420, 320);
  dated.SetDate(EncodeDate(2008, 2, 1));
  EXPECT_EQ(dated.CalColors()->TitleTextFont()->Size(), now.CalColors()->TitleTextFont()->Size());
}
