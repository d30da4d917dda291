// Casting the chart from the main window: the window hands its lines, boxes, odds and calendar
// labels to the chart logic and writes back the chart, the chart fields and the
// recommendation. The logic raises before anything is written, so a refused cast leaves the
// previous chart whole.
#include "workbench/logic/Chart.h"
#include "workbench/logic/HexagramTables.h"
#include "workbench/main.h"

void TForm2::Action2Execute(TComponent*) { CastChart(StrengthModel::Factor); }

void TForm2::Button2Click(TComponent*) { CastChart(StrengthModel::Cosine); }

void TForm2::CastChart(StrengthModel model) {
  const auto lines = LineButtons(*this);
  const auto boxes = MovingBoxes(*this);
  ChartInput in;
  for (int i = 0; i < 6; ++i) {
    in.LineCaptions[i] = lines[i]->Caption();
    in.Moving[i] = boxes[i]->Checked();
  }
  in.ShiOdds = Edit3->GetText();
  in.YingOdds = Edit4->GetText();
  in.FourPillarsText = Label7->Caption();
  in.LunarDateText = Label9->Caption();
  in.XunVoidText = Label11->Caption();
  in.DateTexts = {ComboBox1->GetText(), ComboBox2->GetText(), ComboBox3->GetText(),
                  ComboBox4->GetText(), ComboBox5->GetText()};
  const ChartCast cast = ::CastChart(in, model);

  // The chart text as built, every line ended by CR LF, the last one too: the copy and the save
  // put the reading's next line after that break.
  RichEdit1->SetText(cast.Text);

  const ChartFields& f = cast.Fields;
  ShiBranch = f.ShiBranch;
  YingBranch = f.YingBranch;
  PillarBranches = f.PillarBranches;
  RecommendationText = f.RecommendationText;
  MovingBranch = f.MovingBranch;
  ChangedBranch = f.ChangedBranch;
  MovingMark = f.MovingMark;
  GoalTimeText = f.GoalTimeText;
  ShiHitCount = f.ShiHitCount;
  YingHitCount = f.YingHitCount;
  MovingStrength = f.MovingStrength;
  ChangedStrength = f.ChangedStrength;
  ShiOddsFactor = f.ShiOddsFactor;
  YingOddsFactor = f.YingOddsFactor;
  ShiStrength = f.ShiStrength;
  YingStrength = f.YingStrength;
  BranchElementStrengths = f.BranchElementStrengths;
  ShiMoving = f.ShiMoving;
  YingMoving = f.YingMoving;
  LineBranchText = f.LineBranchText;
  BranchHitCounts = f.BranchHitCounts;

  Edit2->SetText(RecommendationText);
  // The trigram judgement appends its ratios to Edit2; it runs when it has a handler.
  Action53->Execute();
  Action3->Execute();
}

StrengthChart TForm2::CurrentStrengthChart() const {
  return {MovingBranch, ChangedBranch, Label11->Caption()};
}

double TForm2::LineStrength(const std::string& Branch, const std::string& Pillars, int Mode,
                            double Weight) {
  return ::LineStrength(Branch, Pillars, Mode, Weight, CurrentStrengthChart());
}

double TForm2::CosineLineStrength(const std::string& Branch, const std::string& Pillars, int Mode,
                                  double Weight) {
  return ::CosineLineStrength(Branch, Pillars, Mode, Weight, CurrentStrengthChart());
}

int TForm2::BranchDistance(const std::string& A, const std::string& B) {
  return ::BranchDistance(A, B);
}

std::string TForm2::SixRelativeOf(const std::string& Palace, const std::string& Line) {
  return ::SixRelativeOf(Palace, Line);
}
