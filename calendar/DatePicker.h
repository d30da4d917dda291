// The date-picker window. It is created at start-up and never shown; its calendar names dates
// with the engine the program gives it.
#pragma once

#include "calendar/LssCalendar.h"
#include "platform/gui/Forms.h"

class TForm1 : public TForm {
 public:
  // `engine` outlives the window.
  TForm1(TComponent* AOwner, const TLunarEngine& engine);

  TLssCalendar* LssCalendar1;
};

extern TForm1* Form1;
