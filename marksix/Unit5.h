// The special-number strength window: the strengths of the animals, elements, colours, tail
// and head digits against the four pillars, the ranking of the 49 numbers, and ticks of the
// strongest members, each copied into the calculator's matching filter box.
#pragma once

#include <string>
#include <vector>

#include "marksix/logic/SpecialStrength.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"

class TForm5 : public TForm {
 public:
  explicit TForm5(TComponent* AOwner);

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

  // One attribute group as the window shows it: heading, boxes and strength labels in box
  // order, the calculator boxes that follow the ticks, and how many a heading click ticks.
  struct Group {
    AttributeKind Kind;
    TLabel* Heading;
    std::vector<TCheckBox*> Boxes;
    std::vector<TLabel*> Values;
    std::vector<int> CalculatorBoxes;
    int Strongest;
  };
  const std::vector<Group>& Groups() const { return groups_; }

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
  void TickStrongest(const Group& group);
  std::vector<Group> groups_;
};

extern TForm5* Form5;
