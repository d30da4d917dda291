// A gallery of the kit's controls in several styles, laid out on one window and saved as a
// picture under the build folder's screenshots/, for a person to look at.
#include <filesystem>

#include "platform/Clock.h"
#include "tests/support/GuiTest.h"
#include "widgets/WkCmboBx.h"
#include "widgets/WkEdit.h"
#include "widgets/WkGrafx.h"
#include "widgets/WkPageControl.h"
#include "widgets/WkStatus.h"

namespace {

class Gallery : public TForm {
 public:
  explicit Gallery(TComponent* owner) : TForm(owner) {
    SetCaption("Widget kit gallery");
    SetClientSize(1250, 520 + 5 * 180 + 200 + 30);
    int x = 8;
    for (TFrameStyleEx style : {fsRaised, fsLowered, fsGroove, fsBump, fsFlat, fsFlatBold,
                                fsFlatRounded, fsPopup, fsStatus, fsButtonUp}) {
      auto* p = new TWkPanel(this);
      p->SetParent(this);
      p->SetBounds(x, 8, 66, 40);
      p->SetBorderOuter(style);
      p->SetBevelWidth(2);
      p->SetCaption(std::to_string(style));
      x += 74;
    }
    x = 8;
    for (int d = gdDiagonalUp; d <= gdBigSquareBox; ++d) {
      auto* p = new TWkPanel(this);
      p->SetParent(this);
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
    grid->SetParent(this);
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
      g->SetParent(this);
      g->SetBounds(x, 114, 92, 70);
      g->SetGroupStyle(style);
      g->SetCaption("添加");
      if (style == gsCustom) g->SetBorderOuter(fsGroove);
      x += 100;
    }
    for (int i = 0; i < 2; ++i) {
      auto* s = new TWkSpacer(this);
      s->SetParent(this);
      s->SetBounds(8 + i * 40, 196, 8, 25);
      s->SetGrooved(true);
      if (i == 1) s->SetOrientation(orVertical);
    }
    int y = 232;
    const TFrameStyleEx editStyles[] = {fsFlat, fsFlatBold, fsLowered, fsGroove};
    for (int i = 0; i < 4; ++i) {
      auto* e = new TWkEdit(this);
      e->SetParent(this);
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
      c->SetParent(this);
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
    glyphs->SetParent(this);
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

    AddPageControls(520);

    bar = new TWkStatusBar(this);
    bar->SetParent(this);
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
    simple->SetParent(this);
    simple->SetSimpleStatus(true);
    simple->SetSimpleCaption("简单状态栏 simple status");
  }
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
      pc->SetActivePage(pc->Pages(4));
    }
  }
  TWkPageControl* NewPageControl(const TRect& bounds) {
    auto* pc = new TWkPageControl(this);
    pc->SetParent(this);
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
  std::vector<TWkPageControl*> pageControls;
  TWkPanel* glyphs;
  TWkStatusBar* bar;
  TWkClockStatus* clock;
};

}  // namespace

TEST(WkGallery, OneOfEachControlInSeveralStylesIsSavedAsAPicture) {
  ScopedTestClock fixed(EncodeDateTime(2026, 12, 7, 9, 30, 0, 0));
  std::unique_ptr<Gallery> gallery(NewForm<Gallery>(nullptr));
  gallery->Show();
  ProcessEvents();
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
  const std::string path = SaveScreenshot(gallery.get(), "widget_gallery");
  ASSERT_FALSE(path.empty());
  EXPECT_GT(std::filesystem::file_size(path), 1000u);
  // The first status bar made lies along the window's bottom edge.
  EXPECT_EQ(gallery->bar->Top() + gallery->bar->Height(), gallery->ClientHeight());
}
