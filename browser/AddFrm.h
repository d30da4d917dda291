// The add-to-favourites dialog: a name and an address, stored in the browser's settings file
// and added to its favourites menu.
#pragma once

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "widgets/WkButtons.h"
#include "widgets/WkEdit.h"
#include "widgets/WkPanel.h"

class TAddURLForm : public TForm {
 public:
  explicit TAddURLForm(TComponent* AOwner);
  ~TAddURLForm() override;

  TWkGroupBox* GroupBox1;
  TLabel* Label1;
  TLabel* Label2;
  TWkEdit* REDTName;
  TWkEdit* REDTURL;
  TWkBitBtn* WkBtnOK;
  TWkBitBtn* WkBtnC;

  void WkBtnOKClick(TComponent* Sender);
  void WkBtnCClick(TComponent* Sender);
  void FormClose(TComponent* Sender, TCloseAction& Action);
};

extern TAddURLForm* AddURLForm;
