// An empty window with a caption, shown by the commands whose own window is not built yet
// (the Mark Six calculator, the browser), so that their buttons answer visibly.
#pragma once

#include <string>

#include "platform/gui/Forms.h"

class TStandInForm : public TForm {
 public:
  TStandInForm(TComponent* AOwner, const std::string& name, const std::string& caption);
};
