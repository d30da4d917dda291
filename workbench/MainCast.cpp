// Casting the chart from the main window: the model casts its lines at its moment and the
// window shows the chart and the recommendation. The model raises before anything is changed,
// so a refused cast leaves the previous chart whole.
#include "workbench/main.h"

void TForm2::Action2Execute(TComponent*) { CastChart(StrengthModel::Factor); }

void TForm2::Button2Click(TComponent*) { CastChart(StrengthModel::Cosine); }

void TForm2::CastChart(StrengthModel model) {
  ReadInput();
  model_.CastChart(model);
  ShowChart();
  // Every cast ends with the trigram judgement and a copy of the reading.
  Action53Execute(this);
  Action3Execute(this);
}
