// A gallery of the kit's controls in several styles, laid out on one sheet and saved whole as
// pictures under the build folder's screenshots/, for a person to look at; the test checks
// that each picture holds what it is named for.
#include <algorithm>
#include <cmath>

#include "platform/Clock.h"
#include "tests/support/GuiTest.h"
#include "widgets/WkCmboBx.h"
#include "widgets/WkEdit.h"
#include "widgets/WkGrafx.h"
#include "widgets/WkPageControl.h"
#include "widgets/WkStatus.h"
#include "widgets/WkTabButtons.h"
#include "widgets/WkToolbar.h"

namespace {

// The inks of the gallery's four images, which its tool bars, tabs and tab menu show.
const TColor kInks[] = {RGB(0, 120, 0), RGB(0, 0, 200), RGB(200, 0, 0), RGB(200, 140, 0)};

class Gallery : public TForm {
 public:
  explicit Gallery(TComponent* owner) : TForm(owner) {
    SetCaption("Widget kit gallery");
    // The window is kept inside the work area and so may be cut to the screen; the sheet
    // keeps the gallery's full size, and the pictures are taken of it.
    SetClientSize(kWidth, kHeight);
    sheet = new TWkPanel(this);
    sheet->SetParent(this);
    sheet->SetBounds(0, 0, kWidth, kHeight);
    sheet->SetBorderOuter(fsNone);
    int x = 8;
    for (TFrameStyleEx style : {fsRaised, fsLowered, fsGroove, fsBump, fsFlat, fsFlatBold,
                                fsFlatRounded, fsPopup, fsStatus, fsButtonUp}) {
      auto* p = new TWkPanel(this);
      p->SetParent(sheet);
      p->SetBounds(x, 8, 66, 40);
      p->SetBorderOuter(style);
      p->SetBevelWidth(2);
      p->SetCaption(std::to_string(style));
      x += 74;
    }
    x = 8;
    for (int d = gdDiagonalUp; d <= gdBigSquareBox; ++d) {
      auto* p = new TWkPanel(this);
      p->SetParent(sheet);
      p->SetBounds(x, 56, 66, 50);
      p->SetBorderOuter(fsFlat);
      p->SetVisualStyle(vsGradient);
      p->SetGradientColorStyle(gcsCustom);
      p->SetGradientColorStart(RGB(255, 255, 255));
      p->SetGradientColorStop(RGB(40, 90, 200));
      p->SetGradientDirection(static_cast<TGradientDirection>(d));
      x += 74;
    }
    auto* grid = new TWkPanel(this);
    grid->SetParent(sheet);
    grid->SetBounds(8, 114, 140, 70);
    grid->SetBorderOuter(fsLowered);
    grid->SetBorderInner(fsRaised);
    grid->SetBorderWidth(3);
    grid->SetBorderColor(RGB(250, 230, 160));
    grid->SetShowGrid(true);
    grid->SetCaption("带边的面板");
    x = 156;
    for (TWkGroupBoxStyle style :
         {gsStandard, gsFlat, gsTopLine, gsBanner, gsUnderline, gsCustom}) {
      auto* g = new TWkGroupBox(this);
      g->SetParent(sheet);
      g->SetBounds(x, 114, 92, 70);
      g->SetGroupStyle(style);
      g->SetCaption("添加");
      if (style == gsCustom) g->SetBorderOuter(fsGroove);
      x += 100;
    }
    // Right to left: the caption box sits at the right end of the frame.
    for (TWkGroupBoxStyle style : {gsStandard, gsFlat, gsTopLine}) {
      auto* g = new TWkGroupBox(this);
      g->SetParent(sheet);
      g->SetBounds(x, 114, 92, 70);
      g->SetGroupStyle(style);
      g->SetBiDiMode(bdRightToLeft);
      g->SetCaption("右起");
      mirroredBoxes.push_back(g);
      x += 100;
    }
    for (int i = 0; i < 2; ++i) {
      auto* s = new TWkSpacer(this);
      s->SetParent(sheet);
      s->SetBounds(8 + i * 40, 196, 8, 25);
      s->SetGrooved(true);
      if (i == 1) s->SetOrientation(orVertical);
    }
    int y = 232;
    const TFrameStyleEx editStyles[] = {fsFlat, fsFlatBold, fsLowered, fsGroove};
    for (int i = 0; i < 4; ++i) {
      auto* e = new TWkEdit(this);
      e->SetParent(sheet);
      e->SetBounds(8, y, 170, 22);
      e->SetFrameVisible(true);
      e->SetFrameStyle(editStyles[i]);
      e->SetText(i == 3 ? "只读 read-only" : "框线编辑 " + std::to_string(i));
      if (i == 3) e->SetReadOnly(true);
      y += 30;
    }
    y = 232;
    for (int i = 0; i < 4; ++i) {
      auto* c = new TWkComboBox(this);
      c->SetParent(sheet);
      c->SetBounds(200, y, 190, 22);
      c->SetItems({"http://www.sina.com.cn", "http://www.163.com", "新浪体育"});
      c->SetItemIndex(i % 3);
      c->SetFrameVisible(i != 0);
      c->SetFlatButtons(i >= 1);
      c->SetFrameStyle(i == 2 ? fsFlatBold : fsFlat);
      if (i == 3) c->SetReadOnly(true);
      y += 30;
    }
    glyphs = new TWkPanel(this);
    glyphs->SetParent(sheet);
    glyphs->SetBounds(420, 232, 150, 40);
    glyphs->SetBorderOuter(fsStatus);
    glyphs->OnPaint = [this](TComponent*) {
      TCanvas& c = glyphs->Canvas();
      DrawDropDownArrow(c, Rect(4, 4, 20, 36), vsClassic, true, false);
      DrawDropDownArrow(c, Rect(22, 4, 38, 36), vsWinXP, true, false);
      for (int d = 0; d < 4; ++d)
        DrawArrow(c, Rect(40 + d * 18, 4, 56 + d * 18, 36), d, vsClassic, d != 3, false);
      DrawCloseGlyph(c, Rect(112, 4, 144, 36), vsClassic, true, false);
    };

    AddButtons(372);
    AddToolbars(520);
    AddPageControls(720);

    bar = new TWkStatusBar(this);
    bar->SetParent(sheet);
    auto* text = new TWkStatusPane(this);
    text->SetParent(bar);
    text->SetAlign(alLeft);
    text->SetWidth(300);
    text->SetCaption("完成");
    auto* keys = new TWkKeyStatus(this);
    keys->SetParent(bar);
    keys->SetLeft(400);
    keys->SetAlign(alLeft);
    keys->SetKeyOffAppearance(koaDimmed);
    clock = new TWkClockStatus(this);
    clock->SetParent(bar);
    clock->SetLeft(500);
    clock->SetAlign(alLeft);
    auto* simple = new TWkStatusBar(this);
    simple->SetParent(sheet);
    simple->SetSimpleStatus(true);
    simple->SetSimpleCaption("简单状态栏 simple status");
  }
  // Push and glyph buttons in their states: normal, hot, down, disabled, default, in the
  // classic and the flat look, then the stock kinds.
  void AddButtons(int y) {
    const char* states[] = {"普通", "热点", "按下", "禁用", "默认"};
    for (int flat = 0; flat < 2; ++flat) {
      for (int i = 0; i < 5; ++i) {
        auto* b = new TWkButton(this);
        b->SetParent(sheet);
        b->SetBounds(8 + i * 84, y + flat * 34, 78, 26);
        b->SetCaption(states[i]);
        b->SetHotTrack(flat == 1);
        if (i == 1) hot.push_back(b);
        if (i == 2) {
          b->SetGroupIndex(7 + flat);
          b->SetDown(true);
        }
        if (i == 3) b->SetEnabled(false);
        if (i == 4) b->SetDefault(true);
      }
    }
    int x = 440;
    for (TBitBtnKind kind : {bkOK, bkCancel, bkYes, bkNo, bkHelp}) {
      auto* k = new TWkBitBtn(this);
      k->SetParent(sheet);
      k->SetBounds(x, y, 62, 26);
      k->SetKind(kind);
      x += 64;
    }
    x = 440;
    for (TBitBtnKind kind : {bkClose, bkAbort, bkRetry, bkIgnore, bkAll}) {
      auto* k = new TWkBitBtn(this);
      k->SetParent(sheet);
      k->SetBounds(x, y + 34, 62, 26);
      k->SetKind(kind);
      k->SetEnabled(kind != bkIgnore);
      x += 64;
    }
    for (int i = 0; i < 3; ++i) {
      auto* t = new TWkButton(this);
      t->SetParent(sheet);
      t->SetBounds(8 + i * 84, y + 72, 78, 30);
      t->SetCaption("文字");
      t->SetTextStyle(static_cast<TTextStyle>(i + 1));
      t->SetColor(RGB(230, 240, 255));
    }
    auto* top = new TWkBitBtn(this);
    top->SetParent(sheet);
    top->SetBounds(260, y + 68, 80, 40);
    top->SetKind(bkOK);
    top->SetLayout(blGlyphTop);
    top->SetCaption("上图");
    top->SetHotTrack(true);
  }

  // Tool bars: image buttons with a sticky, a disabled, a hot and a drop-down one in each
  // visual style, and one that cannot wrap and shows its overflow button.
  void AddToolbars(int y) {
    for (int i = 0; i < 4; ++i) {
      TBitmap pic(16, 16, pf24bit);
      TCanvas& c = pic.Canvas();
      c.Brush().SetColor(clFuchsia);
      c.FillRect(Rect(0, 0, 16, 16));
      c.Brush().SetColor(kInks[i]);
      c.Pen().SetColor(kInks[i]);
      if (i < 2)
        c.Polygon(i == 0 ? std::vector<TPoint>{Point(2, 8), Point(9, 2), Point(9, 14)}
                         : std::vector<TPoint>{Point(14, 8), Point(7, 2), Point(7, 14)});
      else
        c.Ellipse(2, 2, 14, 14);
      images.AddMasked(pic, clFuchsia);
    }
    auto* menu = new TPopupMenu(this);
    NewMenuItem(this, menu->Items(), "", "添加到收藏夹");
    int row = 0;
    for (TWkVisualStyle style : {vsClassic, vsWinXP, vsGradient}) {
      auto* panel = new TWkPanel(this);
      panel->SetParent(sheet);
      panel->SetBounds(8, y + row * 44, 740, 40);
      panel->SetBorderOuter(fsNone);
      auto* tb = new TWkToolbar(this);
      tb->SetParent(panel);
      tb->SetImages(&images);
      tb->SetVisualStyle(style);
      tb->SetShowButtonCaptions(row == 2);
      for (int i = 0; i < 6; ++i) {
        auto* b = new TWkToolButton(this);
        b->SetParent(tb);
        b->SetImageIndex(i % 4);
        b->SetCaption(i == 5 ? "收藏" : "按钮");
        b->OnClick = [](TComponent*) {};
        if (i == 1) {
          b->SetGroupIndex(1);
          b->SetDown(true);
        }
        if (i == 2) b->SetEnabled(false);
        if (i == 3) toolHot.push_back(b);
        if (i == 4) b->SetFlat(false);
        if (i == 5) {
          b->SetToolStyle(tsDropDown);
          b->SetDropDownMenu(menu);
        }
      }
      ++row;
    }
    auto* narrow = new TWkPanel(this);
    narrow->SetParent(sheet);
    narrow->SetBounds(8, y + row * 44, 160, 40);
    narrow->SetBorderOuter(fsNone);
    overflow = new TWkToolbar(this);
    overflow->SetParent(narrow);
    overflow->SetWrapControls(false);
    overflow->SetImages(&images);
    for (int i = 0; i < 8; ++i) {
      auto* b = new TWkToolButton(this);
      b->SetParent(overflow);
      b->SetImageIndex(i % 4);
    }
    // Right to left: the row starts at the right, a hot drop-down button has its part and
    // arrow at its left, and the narrow bar's overflow button sits at its left end.
    auto* mirrored = new TWkPanel(this);
    mirrored->SetParent(sheet);
    mirrored->SetBounds(180, y + row * 44, 300, 40);
    mirrored->SetBorderOuter(fsNone);
    mirrored->SetBiDiMode(bdRightToLeft);
    auto* rtl = new TWkToolbar(this);
    rtl->SetParent(mirrored);
    rtl->SetImages(&images);
    rtl->SetVisualStyle(vsClassic);
    for (int i = 0; i < 3; ++i) {
      auto* b = new TWkToolButton(this);
      b->SetParent(rtl);
      b->SetImageIndex(i);
      b->OnClick = [](TComponent*) {};
      if (i == 2) {
        b->SetToolStyle(tsDropDown);
        b->SetDropDownMenu(menu);
        toolHot.push_back(b);
      }
    }
    auto* narrowMirrored = new TWkPanel(this);
    narrowMirrored->SetParent(sheet);
    narrowMirrored->SetBounds(500, y + row * 44, 160, 40);
    narrowMirrored->SetBorderOuter(fsNone);
    narrowMirrored->SetBiDiMode(bdRightToLeft);
    auto* overflowMirrored = new TWkToolbar(this);
    overflowMirrored->SetParent(narrowMirrored);
    overflowMirrored->SetWrapControls(false);
    overflowMirrored->SetImages(&images);
    for (int i = 0; i < 8; ++i) {
      auto* b = new TWkToolButton(this);
      b->SetParent(overflowMirrored);
      b->SetImageIndex(i % 4);
    }
  }
  // The hot looks need the pointer over them: they are told so once the window shows.
  void PointerOverHotOnes() {
    for (TWkButton* b : hot) b->MouseEnter();
    for (TWkToolButton* b : toolHot) b->MouseEnter();
  }
  TImageList images{16, 16};
  std::vector<TWkButton*> hot;
  std::vector<TWkToolButton*> toolHot;
  TWkToolbar* overflow = nullptr;
  // A page control in every tab style (rows) on every side (columns), vertical captions on
  // the left and right; a disabled tab, coloured tabs on two rows, the strip buttons; then
  // several rows, reverse sequence and a scrolling strip.
  void AddPageControls(int top) {
    const TWkTabStyle styles[] = {tsSingleSlant, tsDoubleSlant, tsCutCorner, tsRoundCorners,
                                  tsBackSlant};
    const TWkTabOrientation sides[] = {toTop, toLeft, toBottom, toRight};
    const char* names[] = {"&File", "Edit", "View", "Tools", "Help", "Window"};
    int k = 0;
    for (int s = 0; s < 5; ++s) {
      for (int o = 0; o < 4; ++o, ++k) {
        TWkPageControl* pc = NewPageControl(Bounds(5 + o * 310, top + s * 180, 300, 170));
        pc->SetTabStyle(styles[s]);
        pc->SetTabOrientation(sides[o]);
        if (o % 2 == 1) pc->SetTextOrientation(orVertical);
        for (int i = 0; i < 6; ++i) {
          TWkTabSheet* sheet = NewSheet(pc, names[i]);
          if (i == 2) sheet->SetTabEnabled(false);
          if (s == 2 || s == 4)
            sheet->SetColor(i % 3 == 0   ? RGB(200, 230, 255)
                            : i % 3 == 1 ? RGB(255, 225, 190)
                                         : clWhite);
        }
        pc->SetShowCloseButton(k % 3 != 2);
        pc->SetShowMenuButton(k % 2 == 0);
        pc->SetActivePage(pc->Pages(1));
      }
    }
    const int rowsTop = top + 5 * 180;
    const TWkTabSequence sequences[] = {tsStandard, tsReverse, tsReverse};
    const TWkTabOrientation rowSides[] = {toTop, toTop, toBottom};
    for (int c = 0; c < 3; ++c) {
      TWkPageControl* pc = NewPageControl(Bounds(5 + c * 310, rowsTop, 300, 190));
      pc->SetMultiLine(c != 1);
      pc->SetTabSequence(sequences[c]);
      pc->SetTabOrientation(rowSides[c]);
      pc->SetShowMenuButton(true);
      for (int i = 0; i < 9; ++i) NewSheet(pc, "Page " + std::to_string(i));
      if (c == 1) {
        // Images on the tabs and in the tab menu; a disabled tab shows its own.
        pc->SetImages(&images);
        for (int i = 0; i < 9; ++i) pc->Pages(i)->SetImageIndex(i % 3);
        pc->Pages(6)->SetTabEnabled(false);
        pc->Pages(6)->SetDisabledIndex(3);
      }
      pc->SetActivePage(pc->Pages(4));
    }
  }
  TWkPageControl* NewPageControl(const TRect& bounds) {
    auto* pc = new TWkPageControl(this);
    pc->SetParent(sheet);
    pc->SetBoundsRect(bounds);
    pageControls.push_back(pc);
    return pc;
  }
  TWkTabSheet* NewSheet(TWkPageControl* pc, const std::string& caption) {
    auto* sheet = new TWkTabSheet(this);
    sheet->SetCaption(caption);
    sheet->SetPageControl(pc);
    return sheet;
  }
  static constexpr int kWidth = 1250, kHeight = 720 + 5 * 180 + 200 + 30;
  TWkPanel* sheet;
  std::vector<TWkPageControl*> pageControls;
  std::vector<TWkGroupBox*> mirroredBoxes;
  TWkPanel* glyphs;
  TWkStatusBar* bar;
  TWkClockStatus* clock;
};

// Whether the picture holds, at the control's place on the sheet, what the control shows by
// itself: the control was drawn whole, not cut off. At a fractional ratio a control or a child
// of it lands between device pixels and rounds differently when drawn alone (a line a device
// row lower, text nudged): there it may sit a device pixel off either way and a tenth of its
// pixels may differ, far fewer than where it would be missing.
::testing::AssertionResult HoldsControl(const TBitmap& picture, TControl* sheet, TControl* control,
                                        double ratio) {
  const TPoint at = control->ClientToScreen(Point(0, 0));
  const TPoint origin = sheet->ClientToScreen(Point(0, 0));
  const std::unique_ptr<TBitmap> alone = GrabControl(control);
  const bool whole = ratio == std::floor(ratio);
  const int slack = whole ? 0 : 1;
  const int needWidth = static_cast<int>(control->Width() * ratio) - slack;
  const int needHeight = static_cast<int>(control->Height() * ratio) - slack;
  int fewest = -1, area = 0;
  for (int dy = -slack; dy <= slack; ++dy) {
    for (int dx = -slack; dx <= slack; ++dx) {
      const int left = static_cast<int>(std::lround((at.X - origin.X) * ratio)) + dx;
      const int top = static_cast<int>(std::lround((at.Y - origin.Y) * ratio)) + dy;
      const int width = std::min(alone->Width(), picture.Width() - left);
      const int height = std::min(alone->Height(), picture.Height() - top);
      if (left < 0 || top < 0 || width < needWidth || height < needHeight) continue;
      int wrong = 0;
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
          if (picture.PixelColor(left + x, top + y) != alone->PixelColor(x, y)) ++wrong;
      if (fewest < 0 || wrong < fewest) fewest = wrong, area = width * height;
    }
  }
  if (fewest < 0) return ::testing::AssertionFailure() << "the control is cut off";
  if (fewest > (whole ? 0 : area / 10))
    return ::testing::AssertionFailure() << fewest << " of its " << area << " pixels differ";
  return ::testing::AssertionSuccess();
}

int CountColor(const TBitmap& picture, const TRect& where, TColor color) {
  int n = 0;
  for (int y = where.Top; y < where.Bottom; ++y)
    for (int x = where.Left; x < where.Right; ++x)
      if (picture.PixelColor(x, y) == color) ++n;
  return n;
}

}  // namespace

TEST(WkGallery, OneOfEachControlInSeveralStylesIsSavedAsAPicture) {
  ScopedTestClock fixed(EncodeDateTime(2026, 12, 7, 9, 30, 0, 0));
  std::unique_ptr<Gallery> gallery(NewForm<Gallery>(nullptr));
  gallery->Show();
  ProcessEvents();
  gallery->PointerOverHotOnes();
  EXPECT_TRUE(gallery->overflow->OverflowShown());
  // The pointer over the first tab of each page control of the styles: its hot-track bar
  // shows.
  for (int i = 0; i < 20; ++i) {
    TWkPageControl* pc = gallery->pageControls[static_cast<size_t>(i)];
    const TRect first = pc->TabClientRect(0);
    pc->MouseMove(0, (first.Left + first.Right) / 2, (first.Top + first.Bottom) / 2);
    EXPECT_EQ(pc->HotTab(), 0);
    EXPECT_EQ(pc->TabIndex(), pc->ActivePage()->TabIndex());
  }
  EXPECT_GT(gallery->pageControls[20]->RowCount(), 1);
  EXPECT_TRUE(gallery->pageControls[21]->ScrollerNeeded());
  ProcessEvents();
  EXPECT_EQ(gallery->clock->Caption(), "2026-12-7 9:30:00");
  const double ratio = ScreenPixelRatio();
  const auto device = [ratio](int pixels) { return static_cast<int>(std::lround(pixels * ratio)); };

  // The overflow bar's popup, open under its button, holds the buttons beyond the bar's edge
  // with their images.
  TWkToolbarPopupButton* more = gallery->overflow->PopupButton();
  ASSERT_NE(more, nullptr);
  std::string popupPath;
  TSize popupSize{};
  Application->QueueCall([&] {
    TWkPopupPanel* popup = more->OpenPopup();
    ASSERT_NE(popup, nullptr);
    popupSize = TSize{popup->Width(), popup->Height()};
    popupPath = SaveScreenshot(popup->PopupWindow(), "widget_gallery_overflow_popup");
    popup->ClosePopup();
  });
  UserClick(more);
  ASSERT_FALSE(popupPath.empty());
  const std::unique_ptr<TBitmap> popupPicture = LoadPicture(popupPath);
  EXPECT_EQ(popupPicture->Width(), device(popupSize.cx));
  EXPECT_EQ(popupPicture->Height(), device(popupSize.cy));
  const TRect wholePopup = Rect(0, 0, popupPicture->Width(), popupPicture->Height());
  // Of the eight buttons, images 0 to 3 twice, the last two (red and orange) are beyond it.
  EXPECT_EQ(CountColor(*popupPicture, wholePopup, kInks[0]), 0);
  EXPECT_EQ(CountColor(*popupPicture, wholePopup, kInks[1]), 0);
  EXPECT_GT(CountColor(*popupPicture, wholePopup, kInks[2]), 0);
  EXPECT_GT(CountColor(*popupPicture, wholePopup, kInks[3]), 0);

  // The gallery whole, however small the screen: its far right and bottom sections too.
  const std::string path = SaveScreenshot(gallery->sheet, "widget_gallery");
  ASSERT_FALSE(path.empty());
  const std::unique_ptr<TBitmap> picture = LoadPicture(path);
  ASSERT_EQ(picture->Width(), device(Gallery::kWidth));
  ASSERT_EQ(picture->Height(), device(Gallery::kHeight));
  EXPECT_TRUE(HoldsControl(*picture, gallery->sheet, gallery->mirroredBoxes.back(), ratio));
  EXPECT_TRUE(HoldsControl(*picture, gallery->sheet, gallery->pageControls[3], ratio));
  EXPECT_TRUE(HoldsControl(*picture, gallery->sheet, gallery->pageControls.back(), ratio));
  EXPECT_TRUE(HoldsControl(*picture, gallery->sheet, gallery->bar, ratio));

  // The tab menu of the strip with images, open under its button: the same picture but
  // where the menu lies, and there the menu's item images.
  TWkTabMenuButton* menuButton = gallery->pageControls[21]->MenuButton();
  Dialogs().AnswerPopup(nullptr);
  menuButton->ShowTabMenu();
  EXPECT_EQ(menuButton->Menu()->Items()->Items(6)->ImageIndex(), 3);
  TRect place;
  const std::string menuPath = SaveScreenshotWithMenu(
      gallery->sheet, menuButton->Menu(), menuButton, "widget_gallery_tab_menu", &place);
  ASSERT_FALSE(menuPath.empty());
  const std::unique_ptr<TBitmap> withMenu = LoadPicture(menuPath);
  ASSERT_EQ(withMenu->Width(), picture->Width());
  ASSERT_EQ(withMenu->Height(), picture->Height());
  const TPoint under = menuButton->ClientToScreen(Point(0, menuButton->Height()));
  const TPoint origin = gallery->sheet->ClientToScreen(Point(0, 0));
  EXPECT_NEAR(place.Left, (under.X - origin.X) * ratio, 1.0);
  EXPECT_NEAR(place.Top, (under.Y - origin.Y) * ratio, 1.0);
  EXPECT_GT(place.Width(), device(60));
  EXPECT_GT(place.Height(), device(9 * 16));  // nine items
  ASSERT_LE(place.Bottom, withMenu->Height());
  int differ = 0, outside = 0;
  for (int y = 0; y < picture->Height(); ++y)
    for (int x = 0; x < picture->Width(); ++x)
      if (withMenu->PixelColor(x, y) != picture->PixelColor(x, y)) {
        ++differ;
        if (!PtInRect(place, Point(x, y))) ++outside;
      }
  EXPECT_GT(differ, place.Width() * place.Height() / 4);
  EXPECT_EQ(outside, 0);
  // The enabled items' images, 0 to 2; the disabled item's is greyed.
  for (int i = 0; i < 3; ++i) {
    EXPECT_GT(CountColor(*withMenu, place, kInks[i]), 0) << i;
    EXPECT_EQ(CountColor(*picture, place, kInks[i]), 0) << i;
  }
  // The first status bar made lies along the sheet's bottom edge.
  EXPECT_EQ(gallery->bar->Top() + gallery->bar->Height(), gallery->sheet->ClientHeight());
}
