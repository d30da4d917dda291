// The date-picker window. It is created at start-up and never shown: the workbench uses its
// calendar control as the holder of the lunar calendar engine (Form1->LssCalendar1).
#pragma once

#include "calendar/LssCalendar.h"
#include "platform/gui/Forms.h"

class TForm1 : public TForm {
 public:
  explicit TForm1(TComponent* AOwner);

  TLssCalendar* LssCalendar1;
};

extern TForm1* Form1;

// The engine as the workbench reaches it: Form1->LssCalendar1. A workbench window built
// without the date-picker window (its own tests) gets the engine itself, which answers alike.
const TLunarEngine& CalendarEngine();
