// The special-number strength window: the strengths of the animals, elements, colours, tail
// and head digits against the four pillars, the ranking of the 49 numbers, and ticks of the
// strongest members, each copied into the calculator's matching filter box. The window shows
// a NumberStrengthModel; a tick here writes the calculator's model and lets it show.
#pragma once

#include <string>
#include <vector>

#include "marksix/model/NumberStrengthModel.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "workbench/model/WorkbenchModel.h"

class TForm5 : public TForm {
 public:
  // `chart` is the main window's model, whose pillars and lunar year the strengths and the
  // ranking use; it outlives the window.
  TForm5(TComponent* AOwner, const WorkbenchModel& chart);

  TGroupBox* GroupBox1;  // "力量列表"
  TLabel* Label1;        // "生肖地支力量"
  TLabel* Label14;       // "五行力量"
  TLabel* Label20;       // "波色参考"
  TLabel* Label84;       // "尾数力量"
  TLabel* Label85;       // "头数力量"
  TButton* Button4;      // "勾选清空"
  TGroupBox* GroupBox2;  // "号码力量"
  TMemo* Memo1;          // the ranking
  TButton* Button1;      // "号码力量"
  TButton* Button3;      // "退出"
  TPopupMenu* PopupMenu1;
  TMenuItem* N1;  // "复制"

  // The controls of one attribute group, in the order of the model's groups: heading, boxes
  // and strength labels in member order.
  struct Group {
    TLabel* Heading;
    std::vector<TCheckBox*> Boxes;
    std::vector<TLabel*> Values;
  };
  const std::vector<Group>& Groups() const { return groups_; }

  NumberStrengthModel& Model() { return model_; }
  const NumberStrengthModel& Model() const { return model_; }

  void FormShow(TComponent* Sender);
  void Button1Click(TComponent* Sender);
  void Label1DblClick(TComponent* Sender);
  void Label14DblClick(TComponent* Sender);
  void Label20DblClick(TComponent* Sender);
  void Label84DblClick(TComponent* Sender);
  void Label85DblClick(TComponent* Sender);
  // Every box of the window runs it: the calculator box that follows the box takes its state.
  void CheckBox1Click(TComponent* Sender);
  void Button4Click(TComponent* Sender);
  void Button3Click(TComponent* Sender);
  void N1Click(TComponent* Sender);

 private:
  // The strengths and ticks of the model into the controls; the ticks into the calculator's.
  void ShowStrengths();
  void ShowTicks();
  // Ticks member i of group g in the model; a change goes on to the calculator's model.
  // Whether it changed.
  bool SetTicked(size_t g, size_t i, bool ticked);
  void TickStrongest(size_t g);

  NumberStrengthModel model_;
  const WorkbenchModel& chart_;
  std::vector<Group> groups_;
};

extern TForm5* Form5;
