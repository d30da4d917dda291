// The add-to-favourites dialog.
#include "browser/AddFrm.h"

#include "browser/REZFrm.h"
#include "browser/logic/UloConfig.h"
#include "platform/gui/Placement.h"

TAddURLForm* AddURLForm = nullptr;

TAddURLForm::TAddURLForm(TComponent* AOwner) : TForm(AOwner) {
  SetName("AddURLForm");
  SetCaption("添加到收藏夹");
  SetBorderStyle(bsDialog);
  SetFormStyle(fsStayOnTop);
  SetPosition(poScreenCenter);
  SetClientSize(347, 140);
  Font()->SetName("宋体");
  Font()->SetHeight(-12);

  // The box holds everything the dialog asks, its buttons too, inside the dialog's client area.
  GroupBox1 = PlaceControl<TWkGroupBox>(this, this, "GroupBox1", 8, 4, 331, 130);
  GroupBox1->SetCaption("添加");
  Label1 = PlaceControl<TLabel>(this, GroupBox1, "Label1", 12, 28, 36, 14);
  Label1->SetCaption("名称:");
  Label2 = PlaceControl<TLabel>(this, GroupBox1, "Label2", 12, 60, 36, 14);
  Label2->SetCaption("地址:");
  REDTName = PlaceControl<TWkEdit>(this, GroupBox1, "REDTName", 52, 24, 266, 20);
  REDTURL = PlaceControl<TWkEdit>(this, GroupBox1, "REDTURL", 52, 56, 266, 20);
  WkBtnOK = PlaceControl<TWkBitBtn>(this, GroupBox1, "WkBtnOK", 162, 92, 75, 25);
  WkBtnOK->SetCaption("确定");
  WkBtnOK->SetDefault(true);
  WkBtnOK->OnClick = Handler(this, &TAddURLForm::WkBtnOKClick);
  WkBtnC = PlaceControl<TWkBitBtn>(this, GroupBox1, "WkBtnC", 243, 92, 75, 25);
  WkBtnC->SetCaption("取消");
  WkBtnC->SetCancel(true);
  WkBtnC->OnClick = Handler(this, &TAddURLForm::WkBtnCClick);
  OnClose = [this](TComponent* sender, TCloseAction& action) { FormClose(sender, action); };
}

TAddURLForm::~TAddURLForm() {
  if (AddURLForm == this) AddURLForm = nullptr;
}

void TAddURLForm::WkBtnOKClick(TComponent*) {
  if (MainForm) MainForm->AddFavourite(REDTName->GetText(), REDTURL->GetText());
  Close();
}

void TAddURLForm::WkBtnCClick(TComponent*) { Close(); }

void TAddURLForm::FormClose(TComponent*, TCloseAction&) {
  REDTName->SetText("");
  REDTURL->SetText("");
}
