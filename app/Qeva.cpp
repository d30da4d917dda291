// The program's main block: every window is created once, in a fixed order, and lives until
// the program ends. The first window created becomes the main window; closing it ends the loop.
#include "browser/AddFrm.h"
#include "browser/REZFrm.h"
#include "calendar/DatePicker.h"
#include "marksix/Unit4.h"
#include "marksix/Unit5.h"
#include "marksix/Unit8.h"
#include "marksix/logic/KillFormula.h"
#include "platform/gui/Forms.h"
#include "widgets/WkCommon.h"
#include "workbench/Calculator.h"
#include "workbench/CoinForm.h"
#include "workbench/Reader.h"
#include "workbench/main.h"

int main(int argc, char** argv) {
  // The one calendar engine, handed to every window that names dates; it outlives them.
  const TLunarEngine engine{};
  TApplication application(argc, argv);
  Application->Initialize();
  // The widget kit fixes its colour scheme and display depth for the run.
  WkCommonStartUp();

  // Start-up order:
  // TForm2, TMainForm, TForm1, TForm3, TForm4, TForm5, TForm6, TForm7, TForm8, TAddURLForm.
  Application->CreateForm(Form2, engine);
  Application->CreateForm(MainForm);
  Application->CreateForm(Form1, engine);
  Application->CreateForm(Form3);
  // The number windows work on the main window's model; it shows the calculator.
  Application->CreateForm(Form4, Form2->Model(), *Form2->Action4);
  Form2->MarkSixCalculator = Form4;
  Application->CreateForm(Form5, Form2->Model());
  Application->CreateForm(Form6);
  Application->CreateForm(Form7);
  // The update checks a fetched formula file as the formula window reads it.
  Form2->OnlineUpdateSetup.FormulaFileFault = KillFormulaFileFault;
  Application->CreateForm(Form8, Form2->Model(), Form2->OnlineUpdateSetup);
  Application->CreateForm(AddURLForm);

  Application->Run();
  return 0;
}
