// A gallery of the kit's controls in several styles, laid out on one window and saved as a
// picture under the build folder's screenshots/, for a person to look at.
#include <filesystem>

#include "platform/Clock.h"
#include "tests/support/GuiTest.h"
#include "widgets/WkCmboBx.h"
#include "widgets/WkEdit.h"
#include "widgets/WkGrafx.h"
#include "widgets/WkStatus.h"

namespace {

class Gallery : public TForm {
 public:
  explicit Gallery(TComponent* owner) : TForm(owner) {
    SetCaption("Widget kit gallery");
    SetClientSize(760, 520);
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
  EXPECT_EQ(gallery->clock->Caption(), "2026-12-7 9:30:00");
  const std::string path = SaveScreenshot(gallery.get(), "widget_gallery");
  ASSERT_FALSE(path.empty());
  EXPECT_GT(std::filesystem::file_size(path), 1000u);
  // The first status bar made lies along the window's bottom edge.
  EXPECT_EQ(gallery->bar->Top() + gallery->bar->Height(), gallery->ClientHeight());
}
