// The calendar labels of the main window: four pillars, lunar date, empty branches, nayin names
// and the caption with the day's auspicious hours, for the moment in the five date boxes.
#include "calendar/DatePicker.h"
#include "platform/gui/Forms.h"
#include "workbench/logic/CalendarLabels.h"
#include "workbench/main.h"

void TForm2::Action1Execute(TComponent*) {
  CalendarLabels labels;
  // A year below 1900 (also one still being typed) leaves every label as it is; a text that
  // does not convert raises before anything is written.
  if (!ComputeCalendarLabels(ComboBox1->GetText(), ComboBox2->GetText(), ComboBox3->GetText(),
                             ComboBox4->GetText(), ComboBox5->GetText(), labels, CalendarEngine()))
    return;
  Label7->SetCaption(labels.FourPillarsText);
  Label9->SetCaption(labels.LunarDateText);
  Label11->SetCaption(labels.XunVoidText);
  SetCaption(labels.Caption);
  Label17->SetCaption(labels.NayinText);
}

void TForm2::NayinOf(const std::string& Pair, std::string& Result) { ::NayinOf(Pair, Result); }
