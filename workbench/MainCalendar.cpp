// The calendar labels of the main window: four pillars, lunar date, empty branches, nayin names
// and the caption with the day's auspicious hours, for the moment in the five date boxes.
#include "workbench/main.h"

void TForm2::Action1Execute(TComponent*) {
  ReadInput();
  // A year below 1900 (also one still being typed) leaves every label as it is; a text that
  // does not convert, or a moment the calendar cannot take, raises before anything is written.
  if (model_.UpdateLabels()) ShowLabels();
}
