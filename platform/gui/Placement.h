// Building a window's parts in code, as a window description would: each one owned by the
// window and named; a control also placed in its parent (none: not yet placed), at the bounds
// given.
#pragma once

#include <string>

#include "platform/gui/Controls.h"
#include "platform/gui/StdCtrls.h"

template <class T>
T* NewNamed(TComponent* owner, const std::string& name) {
  T* component = new T(owner);
  component->SetName(name);
  return component;
}

template <class T>
T* PlaceControl(TComponent* owner, TWinControl* parent, const std::string& name) {
  T* control = NewNamed<T>(owner, name);
  if (parent) control->SetParent(parent);
  return control;
}

template <class T>
T* PlaceControl(TComponent* owner, TWinControl* parent, const std::string& name, int left, int top,
                int width, int height) {
  T* control = PlaceControl<T>(owner, parent, name);
  control->SetBounds(left, top, width, height);
  return control;
}

// A label sized to its caption.
inline TLabel* PlaceLabel(TComponent* owner, TWinControl* parent, const std::string& name,
                          const std::string& caption, int left, int top) {
  TLabel* label = PlaceControl<TLabel>(owner, parent, name);
  label->SetCaption(caption);
  label->SetLeft(left);
  label->SetTop(top);
  return label;
}
