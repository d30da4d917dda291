// Files and folders on POSIX. Paths arrive as GBK texts and are handed to the system as UTF-8.
#include "platform/Files.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <mutex>

#include "platform/Exceptions.h"
#include "platform/GbkText.h"

namespace {

std::string Native(const std::string& path) { return GbkToUtf8(path); }

std::mutex& FolderMutex() {
  static std::mutex m;
  return m;
}

std::string& FolderOverride() {
  static std::string folder;
  return folder;
}

std::string& FileOverride() {
  static std::string file;
  return file;
}

bool StatPath(const std::string& path, struct stat& st) {
  return !path.empty() && ::stat(Native(path).c_str(), &st) == 0;
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

[[noreturn]] void RaiseCannotCreate(const std::string& path) {
  throw EFCreateError("Cannot create file \"" + path + "\"");
}

}  // namespace

std::string ProgramFolder() {
  {
    std::lock_guard<std::mutex> lock(FolderMutex());
    if (!FolderOverride().empty()) return FolderOverride();
  }
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return ".";
  return Utf8ToGbk(exe.parent_path().string());
}

void SetProgramFolderForTesting(const std::string& folder) {
  std::lock_guard<std::mutex> lock(FolderMutex());
  std::string f = folder;
  while (f.size() > 1 && f.back() == '/') f.pop_back();
  FolderOverride() = f;
}

std::string ProgramPath(const std::string& relative) { return ProgramFolder() + "/" + relative; }

std::string ProgramFile() {
  {
    std::lock_guard<std::mutex> lock(FolderMutex());
    if (!FileOverride().empty()) return FileOverride();
  }
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : Utf8ToGbk(exe.string());
}

void SetProgramFileForTesting(const std::string& path) {
  std::lock_guard<std::mutex> lock(FolderMutex());
  FileOverride() = path;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return StatPath(path, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st;
  return StatPath(path, st) && S_ISDIR(st.st_mode);
}

bool CreateDir(const std::string& path) {
  if (path.empty()) return false;
  ::mkdir(Native(path).c_str(), 0777);
  return DirectoryExists(path);
}

bool ForceDirectories(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(Native(path)), ec);
  return DirectoryExists(path);
}

bool DeleteFile(const std::string& path) {
  if (DirectoryExists(path)) return false;
  return !path.empty() && ::unlink(Native(path).c_str()) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
  // The program expects a rename onto an existing file to fail rather than replace it.
  if (from.empty() || to.empty() || FileExists(to) || DirectoryExists(to)) return false;
  return ::rename(Native(from).c_str(), Native(to).c_str()) == 0;
}

bool ReplaceFile(const std::string& from, const std::string& to) {
  return !from.empty() && !to.empty() && ::rename(Native(from).c_str(), Native(to).c_str()) == 0;
}

bool SetFileMode(const std::string& path, unsigned mode) {
  return !path.empty() && ::chmod(Native(path).c_str(), static_cast<mode_t>(mode)) == 0;
}

std::string CanonicalPath(const std::string& path) {
  if (path.empty()) return std::string();
  std::error_code ec;
  const std::filesystem::path real = std::filesystem::canonical(Native(path), ec);
  return ec ? std::string() : Utf8ToGbk(real.string());
}

std::string ExtractFilePath(const std::string& path) {
  // '/' is below every GBK trail byte, so a byte search is safe here.
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExtractFileName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  size_t slash = path.rfind('/');
  size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + ext;
  return path.substr(0, dot) + ext;
}

std::string ReadWholeFile(const std::string& path) {
  int fd = path.empty() ? -1 : ::open(Native(path).c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st;
  if (fd >= 0 && (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))) {
    ::close(fd);
    fd = -1;
  }
  if (fd < 0) throw EFOpenError("Cannot open file \"" + path + "\"");
  std::string bytes;
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      throw EReadError("Stream read error");
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return bytes;
}

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
  if (path.empty()) RaiseCannotCreate(path);
  const std::string target = Native(path);
  const std::string temp = target + ".tmp-" + std::to_string(::getpid());
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) RaiseCannotCreate(path);
  // A replaced file keeps its permissions.
  struct stat old;
  if (::stat(target.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
  bool written = WriteAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
  written = (::close(fd) == 0) && written;
  if (!written) {
    ::unlink(temp.c_str());
    throw EWriteError("Stream write error");
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    ::unlink(temp.c_str());
    RaiseCannotCreate(path);
  }
}
