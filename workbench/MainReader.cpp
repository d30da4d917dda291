// The book commands of the main window: each opens its book file from bd/ in the reader,
// under the title its own action shows.
#include "platform/Files.h"
#include "platform/gui/Dialogs.h"
#include "workbench/Reader.h"
#include "workbench/main.h"

// The book is decoded whole and in the reader before the reader shows, so a damaged file never
// opens the reader, and the reader never shows the text of a book closed before. A large book
// takes a moment: the windows wait for it painting, and the user may call it off.
void TForm2::OpenBook(TAction* action, const std::string& file) {
  const std::string path = ProgramPath("bd/" + file);
  if (!FileExists(path)) {
    // The books are not shipped with the program; the online update fetches them.
    ShowMessage("文件不存在:" + path + ",请先在线升级!");
    return;
  }
  if (Form7->LoadBook(path, action->Caption())) Form7->ShowModal();
}

void TForm2::Action16Execute(TComponent*) { OpenBook(Action16, "yj.dat"); }
void TForm2::Action17Execute(TComponent*) { OpenBook(Action17, "xc.dat"); }
void TForm2::Action18Execute(TComponent*) { OpenBook(Action18, "xg.dat"); }
void TForm2::Action19Execute(TComponent*) { OpenBook(Action19, "qys.dat"); }
void TForm2::Action20Execute(TComponent*) { OpenBook(Action20, "hzz.dat"); }
void TForm2::Action21Execute(TComponent*) { OpenBook(Action21, "hzl.dat"); }
void TForm2::Action22Execute(TComponent*) { OpenBook(Action22, "yy1.dat"); }
void TForm2::Action23Execute(TComponent*) { OpenBook(Action23, "qyzs1.dat"); }
void TForm2::Action24Execute(TComponent*) { OpenBook(Action24, "qyzs2.dat"); }
void TForm2::Action25Execute(TComponent*) { OpenBook(Action25, "qyzs3.dat"); }
void TForm2::Action26Execute(TComponent*) { OpenBook(Action26, "qyzs4.dat"); }
void TForm2::Action27Execute(TComponent*) { OpenBook(Action27, "qyzs5.dat"); }
void TForm2::Action28Execute(TComponent*) { OpenBook(Action28, "xply.dat"); }
void TForm2::Action29Execute(TComponent*) { OpenBook(Action29, "lytl.dat"); }
void TForm2::Action30Execute(TComponent*) { OpenBook(Action30, "lyxz1.dat"); }
void TForm2::Action31Execute(TComponent*) { OpenBook(Action31, "lyxz2.dat"); }
void TForm2::Action32Execute(TComponent*) { OpenBook(Action32, "xzxd.dat"); }
void TForm2::Action33Execute(TComponent*) { OpenBook(Action33, "lyjc.dat"); }
void TForm2::Action35Execute(TComponent*) { OpenBook(Action35, "lysl.dat"); }
void TForm2::Action36Execute(TComponent*) { OpenBook(Action36, "lygj.dat"); }
void TForm2::Action37Execute(TComponent*) { OpenBook(Action37, "lyrm.dat"); }
void TForm2::Action38Execute(TComponent*) { OpenBook(Action38, "lyfs.dat"); }
void TForm2::Action39Execute(TComponent*) { OpenBook(Action39, "lygx.dat"); }
void TForm2::Action40Execute(TComponent*) { OpenBook(Action40, "lydy1.dat"); }
void TForm2::Action41Execute(TComponent*) { OpenBook(Action41, "lydy2.dat"); }
void TForm2::Action42Execute(TComponent*) { OpenBook(Action42, "sejf.dat"); }
void TForm2::Action43Execute(TComponent*) { OpenBook(Action43, "bsjz.dat"); }
void TForm2::Action44Execute(TComponent*) { OpenBook(Action44, "yy2.dat"); }
void TForm2::Action45Execute(TComponent*) { OpenBook(Action45, "yy3.dat"); }
void TForm2::Action46Execute(TComponent*) { OpenBook(Action46, "lydy3.dat"); }
void TForm2::Action48Execute(TComponent*) { OpenBook(Action48, "hjc1.dat"); }
void TForm2::Action49Execute(TComponent*) { OpenBook(Action49, "hjc2.dat"); }
void TForm2::Action50Execute(TComponent*) { OpenBook(Action50, "hjc3.dat"); }

void TForm2::ConnectBookCommands() {
  using H = void (TForm2::*)(TComponent*);
  const std::pair<TAction*, H> books[] = {
      {Action16, &TForm2::Action16Execute}, {Action17, &TForm2::Action17Execute},
      {Action18, &TForm2::Action18Execute}, {Action19, &TForm2::Action19Execute},
      {Action20, &TForm2::Action20Execute}, {Action21, &TForm2::Action21Execute},
      {Action22, &TForm2::Action22Execute}, {Action23, &TForm2::Action23Execute},
      {Action24, &TForm2::Action24Execute}, {Action25, &TForm2::Action25Execute},
      {Action26, &TForm2::Action26Execute}, {Action27, &TForm2::Action27Execute},
      {Action28, &TForm2::Action28Execute}, {Action29, &TForm2::Action29Execute},
      {Action30, &TForm2::Action30Execute}, {Action31, &TForm2::Action31Execute},
      {Action32, &TForm2::Action32Execute}, {Action33, &TForm2::Action33Execute},
      {Action35, &TForm2::Action35Execute}, {Action36, &TForm2::Action36Execute},
      {Action37, &TForm2::Action37Execute}, {Action38, &TForm2::Action38Execute},
      {Action39, &TForm2::Action39Execute}, {Action40, &TForm2::Action40Execute},
      {Action41, &TForm2::Action41Execute}, {Action42, &TForm2::Action42Execute},
      {Action43, &TForm2::Action43Execute}, {Action44, &TForm2::Action44Execute},
      {Action45, &TForm2::Action45Execute}, {Action46, &TForm2::Action46Execute},
      {Action48, &TForm2::Action48Execute}, {Action49, &TForm2::Action49Execute},
      {Action50, &TForm2::Action50Execute}};
  for (const auto& [action, handler] : books) action->OnExecute = Handler(this, handler);
}
