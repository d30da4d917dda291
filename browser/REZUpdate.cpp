// The browser's menu 系统: the notice, the online update with its progress in the caption, and
// leaving the program.
#include "browser/REZFrm.h"
#include "platform/gui/Dialogs.h"
#include "workbench/main.h"

namespace {

// Each progress text replaces the last one in the window's caption.
class CaptionProgress : public UpdateProgress {
 public:
  explicit CaptionProgress(TForm* form) : form_(form) {}
  void Show(const std::string& text) override { form_->SetCaption(text); }

 private:
  TForm* form_;
};

const char* const kNotice =
    "Zelkar易学浏览器是Zelkar项目自行编写的软件,版权归Zelkar项目所有。\n"
    "本软件仅供研究与学习中国传统易学文化之用,所列网站均为公开的资料与赛果信息,"
    "严禁将本软件用于任何形式的非法赌博。";

}  // namespace

void TMainForm::Action78Execute(TComponent*) { ShowMessage(kNotice); }

void TMainForm::Action77Execute(TComponent*) {
  CaptionProgress progress(this);
  Form2->RunUpdate(progress);
}

void TMainForm::N109Click(TComponent*) { Application->Terminate(); }
