// Files and folders. Paths are GBK texts here; they are converted at the system call.
// Every write that replaces a user's file goes through a temporary file beside it that is
// renamed into place, so a failed write leaves the old file whole.
#pragma once

#include <cstdint>
#include <string>

// Folder of the running program, ending without a separator; tests may override it.
std::string ProgramFolder();
void SetProgramFolderForTesting(const std::string& folder);  // "" restores the real one
// ProgramFolder() + "/" + relative (relative given with '/').
std::string ProgramPath(const std::string& relative);
// Full path of the running program file, links resolved; tests may override it.
std::string ProgramFile();
void SetProgramFileForTesting(const std::string& path);  // "" restores the real one

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
bool CreateDir(const std::string& path);         // one level; true when it exists afterwards
bool ForceDirectories(const std::string& path);  // all levels
bool DeleteFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);  // false when `to` exists
// Renames `from` over `to` in one step, replacing a file there (within one file system).
bool ReplaceFile(const std::string& from, const std::string& to);
// Sets the permission bits, as chmod does.
bool SetFileMode(const std::string& path, unsigned mode);
// The absolute path with links, "." and ".." resolved when the path exists, "" otherwise.
std::string CanonicalPath(const std::string& path);
std::string ExtractFilePath(const std::string& path);  // with trailing '/'
std::string ExtractFileName(const std::string& path);
std::string ChangeFileExt(const std::string& path, const std::string& ext);

// The layer's file errors, naming the file: EFOpenError "无法打开文件「<path>」" and
// EFCreateError "无法创建文件「<path>」".
[[noreturn]] void RaiseCannotOpen(const std::string& path);
[[noreturn]] void RaiseCannotCreate(const std::string& path);

// Whole-file reads and writes. ReadWholeFile raises EFOpenError when the file cannot be opened,
// and EReadError "文件「<path>」太大…" when it holds more than maxBytes (negative: no limit).
std::string ReadWholeFile(const std::string& path, int64_t maxBytes = -1);
// The temporary file a write of the (native, links followed) target goes through: hidden, in
// the target's folder, its name short enough for the file system even when the target's own
// name takes all 255 bytes.
std::string TemporaryFileBeside(const std::string& target);
// Writes through TemporaryFileBeside(target), created anew (never through a file or link
// already there), and a rename; a symbolic link at the target is followed, so the file it
// points at is replaced and the link stays. Raises EFCreateError or EWriteError and removes the
// temporary file on failure. When the folder refuses the temporary file but the file itself is
// writable, the file is written in place.
void WriteFileAtomically(const std::string& path, const std::string& bytes);
