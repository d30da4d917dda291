// The two commands that show the Mark Six calculator, which the program's main block hands over.
#include "workbench/main.h"

void TForm2::Action12Execute(TComponent*) {
  if (MarkSixCalculator) MarkSixCalculator->ShowModal();
}
void TForm2::Action13Execute(TComponent*) { Action12Execute(Action13); }
