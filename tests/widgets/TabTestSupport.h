// Tab strips and page controls on a window of their own, with fixed text metrics (6 pixels a
// byte, 13 a line) so that layouts do not depend on the machine's fonts, and fixed tab sizes
// where pixels are probed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tests/support/GuiTest.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/WkPageControl.h"
#include "widgets/WkTabButtons.h"

namespace tabtest {

class TabTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    recorder = std::make_unique<TTextRecorder>(6, 13);
    form = NewForm<TForm>(nullptr);
    form->SetClientSize(420, 320);
    form->Show();
  }
  void TearDown() override {
    delete form;
    recorder.reset();
    GuiTest::TearDown();
  }
  // A bare strip with `n` tabs "T0".."Tn-1", 60 x 20 each, laid out.
  TWkCustomTabControl* Strip(int n, int width = 300, int height = 100) {
    auto* tc = new TWkCustomTabControl(form);
    tc->SetParent(form);
    tc->SetBounds(0, 0, width, height);
    tc->SetTabWidth(60);
    tc->SetTabHeight(20);
    for (int i = 0; i < n; ++i) tc->Tabs().Add()->Caption = "T" + std::to_string(i);
    tc->UpdateTabData();
    tc->UpdateLayout();
    return tc;
  }
  // A page control with pages named after `captions`, each its own caption.
  TWkPageControl* Pages(const std::vector<std::string>& captions) {
    auto* pc = new TWkPageControl(form);
    pc->SetParent(form);
    pc->SetBounds(0, 0, 300, 150);
    pc->SetTabWidth(60);
    pc->SetTabHeight(20);
    for (const std::string& c : captions) {
      auto* sheet = new TWkTabSheet(form);
      sheet->SetName("Sheet" + c);
      sheet->SetCaption(c);
      sheet->SetPageControl(pc);
    }
    pc->UpdateLayout();
    return pc;
  }
  TWkTabSheet* Sheet(const std::string& caption) {
    return form->Find<TWkTabSheet>("Sheet" + caption);
  }
  static TPoint Centre(const TRect& r) {
    return Point((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  static void Click(TWkCustomTabControl* tc, TPoint p) {
    tc->MouseDown(mbLeft, ssLeft, p.X, p.Y);
    tc->MouseUp(mbLeft, 0, p.X, p.Y);
  }
  void ClickTab(TWkCustomTabControl* tc, int index) { Click(tc, Centre(tc->TabClientRect(index))); }

  std::unique_ptr<TTextRecorder> recorder;
  TForm* form = nullptr;
};

}  // namespace tabtest
