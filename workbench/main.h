// The workbench window: date and time input, calendar labels, the six line buttons with their
// moving-line boxes, odds, chart, recommendation and the command panel. It shows a
// WorkbenchModel: other windows (via Form2) read and write the model and let the window show
// it; the controls keep their fixed names.
#pragma once

#include <array>
#include <string>

#include "platform/gui/ActnList.h"
#include "platform/gui/CategoryButtons.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "workbench/logic/OnlineUpdate.h"
#include "workbench/model/WorkbenchModel.h"

struct AskedMatch;

class TForm2 : public TForm {
  // First, so that the fields below that show it can refer to it.
  WorkbenchModel model_;

 public:
  // The window's calendar labels and casts use `engine`, which outlives the window.
  TForm2(TComponent* AOwner, const TLunarEngine& engine);

  // --- date and time of the chart: year, month, day, hour, minute as decimal text
  TLabel* Label1;  // "时间"
  TComboBox* ComboBox1;
  TComboBox* ComboBox2;
  TComboBox* ComboBox3;
  TComboBox* ComboBox4;
  TComboBox* ComboBox5;
  TLabel* Label2;  // "年", "月", "日", "时", "分" after the five boxes
  TLabel* Label3;
  TLabel* Label4;
  TLabel* Label5;
  TLabel* Label6;
  TLabel* Label12;  // "地点"
  TComboBox* ComboBox6;

  // --- calendar of the chosen moment: they show Model().Labels(), which Action1Execute computes
  TLabel* Label9;   // LunarDateText
  TLabel* Label7;   // FourPillarsText
  TLabel* Label11;  // XunVoidText
  TLabel* Label17;  // NayinText

  // --- subject and sequence number of the reading
  TLabel* Label8;  // "占卜"
  TEdit* Edit1;
  TLabel* Label13;  // "次序"
  TComboBox* ComboBox7;

  // --- the six lines, top line first (Button3 = line 6 ... Button8 = line 1), each with its
  // moving-line box (CheckBox1 beside Button3 ... CheckBox6 beside Button8)
  TButton* Button3;
  TButton* Button4;
  TButton* Button5;
  TButton* Button6;
  TButton* Button7;
  TButton* Button8;
  TCheckBox* CheckBox1;
  TCheckBox* CheckBox2;
  TCheckBox* CheckBox3;
  TCheckBox* CheckBox4;
  TCheckBox* CheckBox5;
  TCheckBox* CheckBox6;
  TButton* Button1;  // "排卦": runs Action2Execute, which every casting method calls
  TButton* Button2;  // "结构预测"

  // --- odds of the two sides
  TLabel* Label14;  // "赔率盘口："
  TLabel* Label15;  // "世:"
  TEdit* Edit3;
  TLabel* Label16;  // "应:"
  TEdit* Edit4;

  // --- chart and result
  TRichEdit* RichEdit1;  // the chart text
  TEdit* Edit2;          // recommendation line
  TButton* Button9;      // "统计"
  TLabel* Label10;       // "笔画："
  TRichEdit* RichEdit2;  // staging box of the clipboard copy
  TRichEdit* RichEdit3;  // hidden accumulator of the multi-chart command

  TCategoryButtons* CategoryButtons1;
  TActionList* ActionList1;
  TAction* Action1;
  TAction* Action2;
  TAction* Action3;
  TAction* Action4;
  TAction* Action5;
  TAction* Action6;
  TAction* Action7;
  TAction* Action8;
  TAction* Action9;
  TAction* Action10;
  TAction* Action11;
  TAction* Action12;
  TAction* Action13;
  TAction* Action14;
  TAction* Action15;
  TAction* Action16;
  TAction* Action17;
  TAction* Action18;
  TAction* Action19;
  TAction* Action20;
  TAction* Action21;
  TAction* Action22;
  TAction* Action23;
  TAction* Action24;
  TAction* Action25;
  TAction* Action26;
  TAction* Action27;
  TAction* Action28;
  TAction* Action29;
  TAction* Action30;
  TAction* Action31;
  TAction* Action32;
  TAction* Action33;
  TAction* Action34;
  TAction* Action35;
  TAction* Action36;
  TAction* Action37;
  TAction* Action38;
  TAction* Action39;
  TAction* Action40;
  TAction* Action41;
  TAction* Action42;
  TAction* Action43;
  TAction* Action44;
  TAction* Action45;
  TAction* Action46;
  TAction* Action47;
  TAction* Action48;
  TAction* Action49;
  TAction* Action50;
  TAction* Action51;
  TAction* Action52;
  TAction* Action53;
  TAction* Action54;
  TAction* Action55;
  TAction* Action56;
  TSaveTextFileDialog* SaveTextFileDialog1;
  TStatusBar* StatusBar1;

  // --- the model behind the controls. Other windows read it (Model().Labels().LunarDateText,
  // Model().Cast) and write it, then let the window show it. A command that uses the moment
  // asks Model().RequireCurrentLabels() (or Basis()) first.
  WorkbenchModel& Model() { return model_; }
  const WorkbenchModel& Model() const { return model_; }
  // Reads what the user may have typed or ticked (date boxes, subject, sequence, odds, chart
  // and result texts) into the model; every command starts with it.
  void ReadInput();
  // Copy parts of the model into the controls.
  void ShowLabels();
  void ShowMoment();
  void ShowLines();
  void ShowSubject();
  void ShowChart();
  // A line handed over as a caption (another window writing a line button): the model takes
  // it and the button shows it. Ticking a moving-line box changes the model's mark; then
  // Action2Execute casts as the cast button does.
  void SetLineCaption(int index, const std::string& caption);

  // --- what other windows read of the last cast (zero or empty before the first one)
  const double& ShiStrength = model_.Cast.ShiStrength;
  const double& YingStrength = model_.Cast.YingStrength;
  const std::string& LineBranchText = model_.Cast.LineBranchText;

  // ===== handlers, one section per command group =====

  // Window start-up, line buttons and the copy command (main.cpp)
  void FormCreate(TComponent* Sender);
  void Button3Click(TComponent* Sender);
  void Button4Click(TComponent* Sender);
  void Button5Click(TComponent* Sender);
  void Button6Click(TComponent* Sender);
  void Button7Click(TComponent* Sender);
  void Button8Click(TComponent* Sender);
  void Action3Execute(TComponent* Sender);

  // Calendar labels (MainCalendar.cpp): run on activation and on every date combo change
  void Action1Execute(TComponent* Sender);

  // Chart cast (MainCast.cpp): Button1 runs Action2 (factor model), Button2 the cosine model
  void Action2Execute(TComponent* Sender);
  void Button2Click(TComponent* Sender);

  // Casting by time, number and clock (MainCasting.cpp): each sets the lines and boxes and
  // casts as Button1 does
  void Action4Execute(TComponent* Sender);
  void Action5Execute(TComponent* Sender);
  void Action6Execute(TComponent* Sender);
  // The clock cast's generator; starts at 0 with the window and is never seeded.
  CastRandom ClockRandom;

  // Stroke-count casts (MainCasting.cpp)
  void Action7Execute(TComponent* Sender);
  void Action8Execute(TComponent* Sender);
  void Button9Click(TComponent* Sender);

  // Trigram judgement, multi-chart cast, saving and leaving (MainCasting.cpp)
  void Action52Execute(TComponent* Sender);
  void Action53Execute(TComponent* Sender);
  void Action55Execute(TComponent* Sender);
  void Action56Execute(TComponent* Sender);
  // Keeps the save dialog's proposed name equal to the subject; the commands that write Edit1
  // call it too, since setting a text from code fires no change event.
  void Edit1Change(TComponent* Sender);

  // Reference books (MainReader.cpp): each opens its file from bd/ in the reader Form7
  void Action16Execute(TComponent* Sender);
  void Action17Execute(TComponent* Sender);
  void Action18Execute(TComponent* Sender);
  void Action19Execute(TComponent* Sender);
  void Action20Execute(TComponent* Sender);
  void Action21Execute(TComponent* Sender);
  void Action22Execute(TComponent* Sender);
  void Action23Execute(TComponent* Sender);
  void Action24Execute(TComponent* Sender);
  void Action25Execute(TComponent* Sender);
  void Action26Execute(TComponent* Sender);
  void Action27Execute(TComponent* Sender);
  void Action28Execute(TComponent* Sender);
  void Action29Execute(TComponent* Sender);
  void Action30Execute(TComponent* Sender);
  void Action31Execute(TComponent* Sender);
  void Action32Execute(TComponent* Sender);
  void Action33Execute(TComponent* Sender);
  void Action35Execute(TComponent* Sender);
  void Action36Execute(TComponent* Sender);
  void Action37Execute(TComponent* Sender);
  void Action38Execute(TComponent* Sender);
  void Action39Execute(TComponent* Sender);
  void Action40Execute(TComponent* Sender);
  void Action41Execute(TComponent* Sender);
  void Action42Execute(TComponent* Sender);
  void Action43Execute(TComponent* Sender);
  void Action44Execute(TComponent* Sender);
  void Action45Execute(TComponent* Sender);
  void Action46Execute(TComponent* Sender);
  void Action48Execute(TComponent* Sender);
  void Action49Execute(TComponent* Sender);
  void Action50Execute(TComponent* Sender);

  // Online update (MainUpdate.cpp)
  void Action10Execute(TComponent* Sender);
  // Fetches an address into a file; false, shown nowhere, on any failure. Any thread may call.
  bool DownloadToFile(const std::string& Url, const std::string& FileName);
  // The absolute path of an existing path with its links resolved, "" for a missing one.
  std::string ShortPathName(const std::string& Path);
  // Runs the update on a worker thread, its texts shown by `Progress` on the GUI thread; no
  // command runs meanwhile, and the program ends once a new one has taken its place. Esc or a
  // close box calls it off (the window closes once it has ended). The browser's update runs
  // the same with a sink of its own.
  void RunUpdate(UpdateProgress& Progress);
  // The update's server, key, folders, messages and process starter; tests replace parts.
  UpdateSetup OnlineUpdateSetup;

  // Mark Six calculator (MainMarkSix.cpp): both commands show it. The calculator works on this
  // window's model and is made after it, so the program's main block sets it here.
  void Action12Execute(TComponent* Sender);
  void Action13Execute(TComponent* Sender);
  TForm* MarkSixCalculator = nullptr;

  // Win/draw/loss calculator and coin window
  void Action15Execute(TComponent* Sender);  // MainCoins.cpp

  // Small commands (MainSmallCommands.cpp)
  void Action9Execute(TComponent* Sender);  // local mean time of the place in ComboBox6
  void ComboBox6DblClick(TComponent* Sender);
  void Label1Click(TComponent* Sender);      // date and time to now
  void Label8DblClick(TComponent* Sender);   // strength report of the last cast
  void Action11Execute(TComponent* Sender);  // desktop calculator
  void Action14Execute(TComponent* Sender);
  void Label14DblClick(TComponent* Sender);  // win/draw/loss calculator Form3
  void Action51Execute(TComponent* Sender);  // browser window
  void Action47Execute(TComponent* Sender);  // disclaimer
  void Action54Execute(TComponent* Sender);  // leave

 private:
  void CreateDateRow();
  void CreateCalendarLabels();
  void CreateSubjectRow();
  void CreateLines();
  void CreateOddsAndChart();
  void CreateCommands();
  void CreateCommandPanel();
  void CreateStatusBar();
  std::array<TComboBox*, 5> DateBoxes() const;
  std::array<TAction**, 56> ActionFields();

  void ToggleLine(int index);
  void ConnectBookCommands();
  void OpenBook(TAction* action, const std::string& file);
  void ConnectSmallCommands();
  // The clock's date and time (hour and minute) into the model and the date boxes.
  void ShowNow();
  void CastChart(StrengthModel model);
  void SetLinesAndCast(const CastLines& lines);
  void SetSubject(const std::string& subject);
  bool AskMatchToCast(AskedMatch& match);
  void CastMatchChart(const AskedMatch& match, int k, double& a, double& b);
};

extern TForm2* Form2;

// The update as built: the server from the build setting or ZELKAR_UPDATE_URL, the built-in
// key, this program's folder and file, messages in message boxes, programs started detached.
UpdateSetup BuiltInUpdateSetup();

// The six line buttons and their moving-line boxes, top line first.
inline std::array<TButton*, 6> LineButtons(const TForm2& f) {
  return {f.Button3, f.Button4, f.Button5, f.Button6, f.Button7, f.Button8};
}
inline std::array<TCheckBox*, 6> MovingBoxes(const TForm2& f) {
  return {f.CheckBox1, f.CheckBox2, f.CheckBox3, f.CheckBox4, f.CheckBox5, f.CheckBox6};
}
