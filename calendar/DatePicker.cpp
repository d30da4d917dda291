#include "calendar/DatePicker.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* AOwner, const TLunarEngine& engine) : TForm(AOwner) {
  SetName("Form1");
  SetCaption("选择日期");
  SetBounds(Left(), Top(), 480, 347);

  LssCalendar1 = new TLssCalendar(this, engine);
  LssCalendar1->SetName("LssCalendar1");
  LssCalendar1->SetParent(this);
  LssCalendar1->SetBounds(0, 0, 369, 313);
  LssCalendar1->SetChineseEar(true);
  LssCalendar1->SetDate(EncodeDate(2006, 12, 10));
  TFont font(*LssCalendar1->Font());
  font.SetName("宋体");
  font.SetCharset(GB2312_CHARSET);
  font.SetSize(8);
  LssCalendar1->SetFont(font);
}
