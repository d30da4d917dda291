// The two commands that show the Mark Six calculator.
#include "marksix/Unit4.h"
#include "workbench/main.h"

void TForm2::Action12Execute(TComponent*) { Form4->ShowModal(); }
void TForm2::Action13Execute(TComponent*) { Form4->ShowModal(); }
