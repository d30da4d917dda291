#include "workbench/logic/OnlineUpdate.h"

#include <cstdlib>

#include "platform/Exceptions.h"
#include "platform/Files.h"
#include "platform/Signatures.h"
#include "workbench/logic/PackedText.h"
#include "workbench/logic/ReferenceBookFiles.h"

namespace {

const char* const kProgress = "系统正在升级中........";
// Paths on the update server; its layout is fixed.
const char* const kDataPath = "/download/bd/";
const char* const kProgramPath = "/download/Voduravurazivizevo.exe";
const char* const kSignatureSuffix = ".sig";
const char* const kCancelled = "升级已取消";
const char* const kFormulaFile = "gs.dat";

std::string ReadOrEmpty(const std::string& path) {
  try {
    return ReadWholeFile(path);
  } catch (const Exception&) {
    return std::string();
  }
}

// Why a book would not open in the reader, "" when it would.
std::string BookFault(const std::string& bytes) {
  switch (DecodePackedText(bytes).Error) {
    case PackedTextError::None:
      return "";
    case PackedTextError::TooShort:
    case PackedTextError::Truncated:
      return "文件不完整";
    case PackedTextError::OutOfMemory:
      return "内存不足,无法检验";
    default:
      return "文件已损坏";
  }
}

// Why a data file fetched into `file` would not read where the program reads it, "" when it
// would.
std::string DataFileFault(const UpdateSetup& setup, const std::string& name,
                          const std::string& file) {
  std::string bytes;
  try {
    bytes = ReadWholeFile(file);
  } catch (const Exception&) {
    return "文件无法读取";
  }
  if (name != kFormulaFile) return BookFault(bytes);
  return setup.FormulaFileFault ? setup.FormulaFileFault(bytes) : "";
}

// The line that ends a data file's step. A refused file says why, and whether an older copy
// stays in its place.
std::string DataFileResult(const std::string& name, bool fetched, const std::string& refusal,
                           bool oldCopy) {
  if (fetched) return kProgress + name + "升级成功";
  if (refusal.empty()) return kProgress + name + "升级失败";
  return kProgress + name + "升级失败：" + refusal + (oldCopy ? "，保留原文件" : "，未保存");
}

// Fetches the new program and its detached signature beside the running program, checks both
// and renames the new file over the running one. Nothing fetched is left behind on failure.
bool InstallProgram(const UpdateSetup& setup, const TCancellation& cancel) {
  const std::string fresh = setup.ProgramFile + ".new";
  const std::string signatureFile = fresh + kSignatureSuffix;
  const std::string program = setup.BaseAddress + kProgramPath;
  bool installed = setup.Download(program, fresh, cancel, {}) &&
                   setup.Download(program + kSignatureSuffix, signatureFile, cancel, {}) &&
                   !cancel.Cancelled();
  if (installed) {
    const std::string bytes = ReadOrEmpty(fresh);
    installed = VerifyEd25519Signature(bytes, ReadOrEmpty(signatureFile), setup.PublicKey) &&
                IsExecutableForThisMachine(bytes) && SetFileMode(fresh, 0755) &&
                ReplaceFile(fresh, setup.ProgramFile);
  }
  DeleteFile(signatureFile);
  if (!installed) DeleteFile(fresh);
  return installed;
}

}  // namespace

UpdateResult RunOnlineUpdate(const UpdateSetup& setup, UpdateProgress& progress,
                             const TCancellation& cancel) {
  // Called off, the update says so and asks nothing more of the user: the window may be
  // closing.
  const auto cancelled = [&] {
    progress.Show(kCancelled);
    return UpdateResult::Cancelled;
  };
  const std::string dataFolder = setup.ProgramFolder + "/bd";
  if (!DirectoryExists(dataFolder)) CreateDir(dataFolder);
  setup.Message("即将进行升级，耐心等待!");
  if (cancel.Cancelled()) return cancelled();
  for (const std::string name : ReferenceBookFiles) {
    progress.Show(kProgress + ("升级" + name + "文件"));
    const std::string file = dataFolder + "/" + name;
    std::string refusal;
    const bool fetched = setup.Download(setup.BaseAddress + kDataPath + name, file, cancel,
                                        [&](const std::string& fetchedFile) {
                                          refusal = DataFileFault(setup, name, fetchedFile);
                                          return refusal;
                                        });
    if (cancel.Cancelled()) return cancelled();
    progress.Show(DataFileResult(name, fetched, refusal, FileExists(file)));
  }
  progress.Show(std::string(kProgress) + "升级主文件");
  const bool installed = InstallProgram(setup, cancel);
  if (!installed && cancel.Cancelled()) return cancelled();
  if (!installed) {
    setup.Message("升级失败");
    return UpdateResult::ProgramKept;
  }
  setup.Message("升级成功");
  setup.StartProgram(setup.ProgramFile, setup.ProgramFolder);
  return UpdateResult::ProgramReplaced;
}

std::string UpdateBaseAddress(const std::string& builtIn) {
  const char* configured = std::getenv("ZELKAR_UPDATE_URL");
  std::string address = configured && *configured ? configured : builtIn;
  while (!address.empty() && address.back() == '/') address.pop_back();
  return address;
}
