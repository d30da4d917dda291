#include "workbench/StandIn.h"

TStandInForm::TStandInForm(TComponent* AOwner, const std::string& name, const std::string& caption)
    : TForm(AOwner) {
  SetName(name);
  SetCaption(caption);
  SetPosition(poScreenCenter);
  SetClientSize(400, 300);
}
