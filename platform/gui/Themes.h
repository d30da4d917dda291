// Visual-style (theme) services. Zelkar draws every control in the classic look, so the
// service reports themes as off and every caller takes its non-themed path; a themed rendering
// would replace the service and answer here.
#pragma once

#include <memory>

#include "platform/gui/Graphics.h"

// The themed parts the kit controls would ask for.
enum class TThemedElement {
  ComboDropDownButton,
  StatusBackground,
  StatusPane,
  StatusGripper,
  GroupBoxFrame,
  ToolBarSeparatorVert,
  ToolBarSeparatorHorz,
  EditBorder
};

class TThemeServices {
 public:
  virtual ~TThemeServices() = default;
  virtual bool ThemesEnabled() const { return false; }
  // Draws the element into rect; nothing while themes are off.
  virtual void DrawElement(TCanvas& canvas, TThemedElement element, int state, const TRect& rect) {
    (void)canvas, (void)element, (void)state, (void)rect;
  }
  // A colour of the current style (clNone while themes are off).
  virtual TColor ElementColor(TThemedElement element, int index) const {
    (void)element, (void)index;
    return clNone;
  }
};

// The process's service. Replacing it (tests) returns the previous one; nullptr restores the
// classic service.
TThemeServices& ThemeServices();
std::unique_ptr<TThemeServices> SetThemeServices(std::unique_ptr<TThemeServices> services);
