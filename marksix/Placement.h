// Building a window's controls in code, as a window description would: each control owned by
// the window, named, and placed in its parent.
#pragma once

#include <string>

#include "platform/gui/Controls.h"
#include "platform/gui/StdCtrls.h"

template <class T>
T* PlaceControl(TComponent* owner, TWinControl* parent, const std::string& name, int left, int top,
                int width, int height) {
  T* control = new T(owner);
  control->SetName(name);
  control->SetParent(parent);
  control->SetBounds(left, top, width, height);
  return control;
}

// A label sized to its caption.
inline TLabel* PlaceLabel(TComponent* owner, TWinControl* parent, const std::string& name,
                          const std::string& caption, int left, int top) {
  TLabel* label = new TLabel(owner);
  label->SetName(name);
  label->SetParent(parent);
  label->SetCaption(caption);
  label->SetLeft(left);
  label->SetTop(top);
  return label;
}
