// The Mark Six calculator: filters the numbers 1 to 49 by twelve attribute groups for the lunar
// year of the main window's moment. Its filter boxes are CheckBox1 .. CheckBox78, found by the
// name "checkbox" + number; they show a CalculatorModel, which the strength window writes.
#pragma once

#include <array>
#include <string>

#include "marksix/model/CalculatorModel.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "workbench/model/WorkbenchModel.h"

class TForm4 : public TForm {
 public:
  // `chart` is the main window's model, whose moment the filter works in; `timeCast` its
  // casting by the time, run before the strengths open. Both outlive the window.
  TForm4(TComponent* AOwner, const WorkbenchModel& chart, TAction& timeCast);

  TGroupBox* GroupBox1;  // "请勾选": the group labels and the 78 filter boxes
  TLabel* Label1;        // "生肖:"; a double click casts by the time and opens the strengths
  TRichEdit* RichEdit1;  // the result
  TButton* Button1;      // "计算"
  TButton* Button2;      // "清空"
  TButton* Button3;      // "复制"
  TPopupMenu* PopupMenu1;
  TMenuItem* N1;  // "复制"
  TMainMenu* MainMenu1;
  TMenuItem* N2;  // "六合秘笈大全"
  TMenuItem* N3;  // "生肖秘笈"
  TMenuItem* N4;  // "尾数秘笈"
  TMenuItem* N5;  // "五行秘笈"
  TMenuItem* N6;  // "综合力量"
  TMenuItem* N9;  // "公式秘笈"

  // Filter box `number` (1 .. 78).
  TCheckBox* FilterBox(int number) const;

  // Other windows tick boxes through the model, then let the window show the boxes.
  CalculatorModel& Model() { return model_; }
  const CalculatorModel& Model() const { return model_; }
  void ShowFilter();

  void Button1Click(TComponent* Sender);
  void Button2Click(TComponent* Sender);
  void Button3Click(TComponent* Sender);
  void N1Click(TComponent* Sender);
  void Label1DblClick(TComponent* Sender);
  void N3Click(TComponent* Sender);
  void N4Click(TComponent* Sender);
  void N5Click(TComponent* Sender);
  void N6Click(TComponent* Sender);
  void N9Click(TComponent* Sender);

 private:
  CalculatorModel model_;
  std::array<TCheckBox*, 79> boxes_{};  // by number
  const WorkbenchModel& chart_;
  TAction& timeCast_;
};

extern TForm4* Form4;
