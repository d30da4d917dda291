// The update command of the main window: the update procedure runs on a worker thread and its
// progress lines go into the chart box, one per text, as they arrive; the user may call it off.
#include "platform/Files.h"
#include "platform/gui/BusyWork.h"
#include "platform/gui/Download.h"
#include "platform/gui/Processes.h"
#include "platform/gui/Threads.h"
#include "workbench/main.h"

namespace {

// Hands each text to the GUI thread and waits until it shows, so the texts keep their order
// and a window's sink never runs on the worker.
class GuiThreadProgress : public UpdateProgress {
 public:
  explicit GuiThreadProgress(UpdateProgress& shown) : shown_(shown) {}
  void Show(const std::string& text) override {
    RunOnGuiThread([&] { shown_.Show(text); });
  }

 private:
  UpdateProgress& shown_;
};

// A line per text at the end of the chart box, kept in view.
class ChartBoxProgress : public UpdateProgress {
 public:
  explicit ChartBoxProgress(TRichEdit* box) : box_(box) {}
  void Show(const std::string& text) override {
    box_->AddLine(text);
    box_->SetSelStart(static_cast<int>(box_->GetText().size()));
  }

 private:
  TRichEdit* box_;
};

}  // namespace

UpdateSetup BuiltInUpdateSetup() {
  UpdateSetup setup;
  setup.BaseAddress = UpdateBaseAddress(ZELKAR_UPDATE_URL);
  setup.PublicKey = ZELKAR_UPDATE_PUBLIC_KEY;
  setup.ProgramFolder = ProgramFolder();
  setup.ProgramFile = ProgramFile();
  setup.Download = [](const std::string& url, const std::string& fileName,
                      const TCancellation& cancel, const FileCheck& check) {
    return ::DownloadToFileChecked(url, fileName, cancel, check);
  };
  setup.Message = [](const std::string& text) { RunOnGuiThread([&] { ShowMessage(text); }); };
  setup.StartProgram = [](const std::string& program, const std::string& folder) {
    return StartProgram(program, {}, folder);
  };
  return setup;
}

bool TForm2::DownloadToFile(const std::string& Url, const std::string& FileName) {
  return ::DownloadToFile(Url, FileName);
}

std::string TForm2::ShortPathName(const std::string& Path) { return CanonicalPath(Path); }

void TForm2::RunUpdate(UpdateProgress& Progress) {
  GuiThreadProgress relay(Progress);
  UpdateResult result = UpdateResult::ProgramKept;
  // Esc or a close box calls the update off; a window closed meanwhile closes once it has.
  RunCancellableBusy([&](const TCancellation& cancel) {
    result = RunOnlineUpdate(OnlineUpdateSetup, relay, cancel);
  });
  if (result == UpdateResult::ProgramReplaced) Application->Terminate();
}

void TForm2::Action10Execute(TComponent*) {
  ChartBoxProgress progress(RichEdit1);
  RunUpdate(progress);
}
