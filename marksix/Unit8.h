// The formula window: twelve elimination formulas from the downloaded formula file, applied to
// the six regular numbers of a draw; the numbers no ticked formula strikes out are the
// candidates of the next draw.
#pragma once

#include <array>
#include <string>

#include "marksix/model/FormulaModel.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "workbench/logic/OnlineUpdate.h"
#include "workbench/model/WorkbenchModel.h"

class TForm8 : public TForm {
 public:
  // `chart` is the main window's model, whose lunar year the element formula uses; `update`
  // names the server the formula file comes from. Both outlive the window.
  TForm8(TComponent* AOwner, const WorkbenchModel& chart, const UpdateSetup& update);

  // Group boxes "杀生肖公式", "杀尾数公式", "杀五行公式", "杀头公式", "杀合数公式", "杀支数公式",
  // "杀支尾公式" and their formula boxes CheckBox1 .. CheckBox12, all ticked at first.
  std::array<TGroupBox*, 7> FormulaGroups{};
  std::array<TCheckBox*, 12> FormulaBoxes{};
  TLabel* Label1;  // "验证预测，从小到大输入平码："
  TEdit* Edit1;
  TEdit* Edit2;
  TEdit* Edit3;
  TEdit* Edit4;
  TEdit* Edit5;
  TEdit* Edit6;
  TBitBtn* BitBtn1;      // "验证预测"
  TGroupBox* GroupBox8;  // "验证预测号码"
  TMemo* Memo2;          // the candidates

  void FormShow(TComponent* Sender);
  void BitBtn1Click(TComponent* Sender);
  // All six number boxes use it: digits, "-", ".", Backspace, Enter and Escape pass.
  void Edit1KeyPress(TComponent* Sender, char& Key);

  FormulaModel& Model() { return model_; }
  const FormulaModel& Model() const { return model_; }

 private:
  std::array<TEdit*, 6> NumberEdits() const { return {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6}; }
  // The typed numbers and the ticks into the model; the captions and the result out of it.
  void ReadInput();
  void ShowFormulas();

  FormulaModel model_;
  const WorkbenchModel& chart_;
  const UpdateSetup& update_;
};

extern TForm8* Form8;
