// The online update: fresh data files into bd/, then a new program file that takes the place
// of the running one only when its maker's signature holds and it runs on this machine. The
// steps and texts are the same wherever the update starts; only the way its progress shows
// differs, so the caller passes a progress sink.
#pragma once

#include <functional>
#include <string>

#include "platform/Cancellation.h"

// Where the update's progress texts go, one at a time, in order (a line each in a text box,
// or each replacing the last in a caption).
class UpdateProgress {
 public:
  virtual ~UpdateProgress() = default;
  virtual void Show(const std::string& text) = 0;
};

// Judges a file (GBK path): "" when it will do, else why not.
using FileCheck = std::function<std::string(const std::string& file)>;

// What the update reaches out to. All texts and paths are GBK.
struct UpdateSetup {
  std::string BaseAddress;    // scheme and host of the update server, no '/' at the end
  std::string ProgramFolder;  // its sub-folder bd/ receives the data files
  std::string ProgramFile;    // the running program's own file, replaced by the new one
  std::string PublicKey;      // the maker's Ed25519 key in hexadecimal; "" installs nothing
  // Fetches an address into a file, true on success. The file is replaced only by a whole body
  // that `check` (when given) lets in: it is handed the temporary file holding the body and
  // returns "" to let it in, else why not. A cancellation ends it soon with false and the file
  // as it was.
  std::function<bool(const std::string& url, const std::string& fileName,
                     const TCancellation& cancel, const FileCheck& check)>
      Download;
  // Why bytes fetched for gs.dat would not read in the formula window (in Chinese), "" when
  // they would. The main block gives it, the workbench knowing nothing of the formulas; without
  // it gs.dat is taken as it comes.
  std::function<std::string(const std::string& bytes)> FormulaFileFault;
  // Shows a message and returns when the user has closed it.
  std::function<void(const std::string& text)> Message;
  // Starts a program on its own in a folder, without a shell; true when it started.
  std::function<bool(const std::string& program, const std::string& folder)> StartProgram;
};

enum class UpdateResult {
  ProgramKept,      // the running program stays; go on
  ProgramReplaced,  // the new program is in place and was started: end this one
  Cancelled,        // called off before the new program was in place: the running one stays
};

// Runs the update from start to end, blocking; the sink and the setup's calls are made on the
// calling thread. A data file fetched whole replaces the old one only when it reads where it is
// read: a book as the reader decodes it, gs.dat as FormulaFileFault judges it; else the old one
// stays and the file's line says why. Once `cancel` is cancelled, the transfer under way ends,
// nothing more is fetched and nothing fetched for the program is kept; data files already
// fetched stay.
UpdateResult RunOnlineUpdate(const UpdateSetup& setup, UpdateProgress& progress,
                             const TCancellation& cancel);

// The update server's base address: the environment's ZELKAR_UPDATE_URL when it is set and not
// empty, else `builtIn`; a '/' at the end is dropped.
std::string UpdateBaseAddress(const std::string& builtIn);
