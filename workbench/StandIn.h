// An empty window with a caption, shown by a command whose own window is not built yet (the
// browser), so that its button answers visibly.
#pragma once

#include <string>

#include "platform/gui/Forms.h"

class TStandInForm : public TForm {
 public:
  TStandInForm(TComponent* AOwner, const std::string& name, const std::string& caption);
};
