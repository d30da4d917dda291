// The program's main block: every window is created once, in a fixed order, and lives until
// the program ends. The first window created becomes the main window; closing it ends the loop.
#include "calendar/DatePicker.h"
#include "platform/gui/Forms.h"
#include "workbench/main.h"

int main(int argc, char** argv) {
  // The one calendar engine, handed to every window that names dates; it outlives them.
  const TLunarEngine engine{};
  TApplication application(argc, argv);
  Application->Initialize();

  // Start-up order; each window joins here, after those before it, once it exists:
  // TForm2, TMainForm, TForm1, TForm3, TForm4, TForm5, TForm6, TForm7, TForm8, TAddURLForm.
  Application->CreateForm(Form2, engine);
  Application->CreateForm(Form1, engine);

  Application->Run();
  return 0;
}
