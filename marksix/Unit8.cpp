// The formula window: fetching the formula file on every showing, the captions it gives the
// twelve formulas, and the test of a draw's six regular numbers.
#include "marksix/Unit8.h"

#include "marksix/logic/KillFormula.h"
#include "marksix/model/ChartYear.h"
#include "platform/Files.h"
#include "platform/GbkText.h"
#include "platform/Numbers.h"
#include "platform/gui/BusyWork.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Download.h"
#include "platform/gui/Placement.h"

TForm8* Form8 = nullptr;

namespace {

const char* const kFormulaFile = "bd/gs.dat";
const char* const kBadNumbers = "平码输入有误!";
const char* const kWaitText = "正在下载公式文件,请稍候......\n取消则使用已有的公式文件。";

struct FormulaGroup {
  const char* Caption;
  int Count;
};
constexpr FormulaGroup kGroups[7] = {{"杀生肖公式", 3}, {"杀尾数公式", 2}, {"杀五行公式", 1},
                                     {"杀头公式", 1},   {"杀合数公式", 3}, {"杀支数公式", 1},
                                     {"杀支尾公式", 1}};

constexpr int kBoxStep = 16;
constexpr int kGroupTop = 16;  // first box below the group's caption
constexpr int kWidth = 653;
constexpr int kHeight = 432;

}  // namespace

TForm8::TForm8(TComponent* AOwner, const WorkbenchModel& chart, const UpdateSetup& update)
    : TForm(AOwner), chart_(chart), update_(update) {
  SetName("Form8");
  SetCaption("系★★★★★级绝密资料,严禁外泄任何人(平码从小往大排列)");
  SetBorderStyle(bsDialog);
  SetPosition(poOwnerFormCenter);
  SetClientSize(kWidth, kHeight);

  int top = 2;
  int formula = 0;
  for (int g = 0; g < 7; ++g) {
    const int height = kGroupTop + kGroups[g].Count * kBoxStep + 3;
    TGroupBox* group = PlaceControl<TGroupBox>(this, this, "GroupBox" + IntToStr(g + 1), 4, top,
                                               kWidth - 8, height);
    group->SetCaption(kGroups[g].Caption);
    FormulaGroups[g] = group;
    for (int i = 0; i < kGroups[g].Count; ++i, ++formula) {
      TCheckBox* box = PlaceControl<TCheckBox>(this, group, "CheckBox" + IntToStr(formula + 1), 6,
                                               kGroupTop + i * kBoxStep, kWidth - 20, kBoxStep);
      box->SetChecked(model_.Ticked[formula]);
      FormulaBoxes[formula] = box;
    }
    top += height + 1;
  }
  ShowFormulas();

  const int inputTop = top + 3;
  Label1 = PlaceLabel(this, this, "Label1", "验证预测，从小到大输入平码：", 8, inputTop + 4);
  TEdit** edits[] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6};
  for (int i = 0; i < 6; ++i) {
    TEdit* edit =
        PlaceControl<TEdit>(this, this, "Edit" + IntToStr(i + 1), 180 + i * 40, inputTop, 34, 22);
    edit->SetMaxLength(2);
    edit->OnKeyPress = [this](TComponent* sender, char& key) { Edit1KeyPress(sender, key); };
    *edits[i] = edit;
  }
  BitBtn1 = PlaceControl<TBitBtn>(this, this, "BitBtn1", 430, inputTop - 1, 90, 25);
  BitBtn1->SetCaption("验证预测");
  BitBtn1->OnClick = Handler(this, &TForm8::BitBtn1Click);

  const int resultTop = inputTop + 28;
  GroupBox8 = PlaceControl<TGroupBox>(this, this, "GroupBox8", 4, resultTop, kWidth - 8,
                                      kHeight - 2 - resultTop);
  GroupBox8->SetCaption("验证预测号码");
  Memo2 = PlaceControl<TMemo>(this, GroupBox8, "Memo2", 6, kGroupTop + 1, kWidth - 20,
                              GroupBox8->Height() - kGroupTop - 5);
  Memo2->SetReadOnly(true);

  OnShow = Handler(this, &TForm8::FormShow);
}

void TForm8::ReadInput() {
  const auto edits = NumberEdits();
  for (int i = 0; i < 6; ++i) model_.Typed[i] = edits[i]->GetText();
  for (int k = 0; k < 12; ++k) model_.Ticked[k] = FormulaBoxes[k]->Checked();
}

// A box holds one line of 16 pixels: a line break a shifted file leaves in a record shows as a
// space, while the model keeps the record as read.
void TForm8::ShowFormulas() {
  for (int k = 0; k < 12; ++k) FormulaBoxes[k]->SetCaption(OnOneLine(model_.Captions[k]));
}

// The opening waits for the transfer, from the update's server, with the windows painted and
// the busy cursor up; a failed transfer, or a file that would not read here, leaves the file
// already there in use. The user may stop waiting (a silent server holds out for half a
// minute): the window then opens with the file already there.
void TForm8::FormShow(TComponent*) {
  const std::string folder = ProgramPath("bd");
  if (!DirectoryExists(folder)) CreateDir(folder);
  const std::string path = ProgramPath(kFormulaFile);
  const std::string url = update_.BaseAddress + "/download/" + kFormulaFile;
  RunCancellableBusy(
      [&](const TCancellation& cancel) {
        DownloadToFileChecked(url, path, cancel, [](const std::string& fetched) {
          return KillFormulaFileFault(ReadWholeFile(fetched));
        });
      },
      kWaitText);
  if (FileExists(path))
    model_.SetFileCaptions(ReadWholeFile(path));
  else
    model_.SetDefaultCaptions();
  ShowFormulas();
}

void TForm8::BitBtn1Click(TComponent*) {
  ReadInput();
  for (const std::string& typed : model_.Typed)
    if (typed.empty()) {
      ShowMessage(kBadNumbers);
      return;
    }
  const std::string path = ProgramPath(kFormulaFile);
  if (!FileExists(path)) {
    model_.SetDefaultCaptions();
    ShowFormulas();
    // The file comes with the opening or with the update.
    ShowMessage("文件不存在:" + path + ",请先在线升级!");
    return;
  }
  if (!model_.Test(ReadWholeFile(path), path, [this] { return ChartLunarYear(chart_); })) {
    ShowMessage(kBadNumbers);
    return;
  }
  ShowFormulas();
  Memo2->SetText(model_.ResultText);
}

void TForm8::Edit1KeyPress(TComponent*, char& Key) {
  const bool keep =
      (Key >= '0' && Key <= '9') || Key == '-' || Key == '.' || Key == 8 || Key == 13 || Key == 27;
  if (!keep) Key = 0;
}
