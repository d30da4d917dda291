// The win/draw/loss calculator: the home and away strength of the last chart and the three
// odds of a match give strength pairs on five handicap lines and a verdict; a second row mixes
// two segments of a match by their minutes. Shown modally from the main window.
#pragma once

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TForm3 : public TForm {
 public:
  explicit TForm3(TComponent* AOwner);

  // Segments: home and away strength and minutes of each.
  TLabel* Label13;  // "段一:"
  TLabel* Label14;  // "段二:"
  TEdit* Edit12;
  TEdit* Edit13;
  TEdit* Edit16;
  TEdit* Edit14;
  TEdit* Edit15;
  TEdit* Edit17;
  TButton* Button3;  // "综合"
  // Odds of a home win, a draw and an away win.
  TEdit* Edit1;
  TEdit* Edit2;
  TEdit* Edit3;
  // Home and away strength of the chart, then of the five handicap lines.
  TEdit* Edit4;
  TEdit* Edit5;
  TEdit* Edit6;
  TEdit* Edit7;
  TEdit* Edit8;
  TEdit* Edit9;
  TEdit* Edit10;
  TEdit* Edit11;
  TEdit* Edit18;
  TEdit* Edit19;
  TEdit* Edit20;
  TEdit* Edit21;
  TLabel* Label12;   // the verdict
  TButton* Button1;  // "计算"
  TButton* Button2;  // "退出"

  void FormShow(TComponent* Sender);
  void Button1Click(TComponent* Sender);
  void Button2Click(TComponent* Sender);
  void Button3Click(TComponent* Sender);
  void Label13DblClick(TComponent* Sender);
  void Label14DblClick(TComponent* Sender);
  void Edit16Change(TComponent* Sender);
};

extern TForm3* Form3;
