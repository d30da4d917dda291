// The coin cast command of the workbench: the coin window, placed over the workbench.
#include "workbench/CoinForm.h"
#include "workbench/main.h"

namespace {

int HalfDown(int value) { return value >= 0 ? value / 2 : -((-value + 1) / 2); }

}  // namespace

void TForm2::Action15Execute(TComponent*) {
  // Centred over the workbench, then 50 pixels left and 13 up.
  Form6->SetLeft(Left() + HalfDown(Width() - Form6->Width()) - 50);
  Form6->SetTop(Top() + HalfDown(Height() - Form6->Height()) - 13);
  Form6->ShowModal();
}
