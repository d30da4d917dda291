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

// The file a path names once every symbolic link on its last part is followed (a dangling link
// gives the path it points at, so a save creates the target). Folders on the way are left to
// the system, which follows their links itself.
std::string FollowLinks(const std::string& native) {
  std::string path = native;
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::error_code ec;
    std::filesystem::path link = std::filesystem::read_symlink(path, ec);
    if (ec) return path;
    path = link.is_absolute() ? link.string()
                              : (std::filesystem::path(path).parent_path() / link).string();
  }
  return path;
}

// Writes straight into the existing file. Less safe than the temporary file and rename: a
// failure half-way (full disk, crash) leaves the file cut short. Used only where the folder
// refuses new files, so a rename into place is impossible.
bool WriteInPlace(const std::string& native, const std::string& bytes) {
  int fd = ::open(native.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return false;
  bool written = WriteAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
  return (::close(fd) == 0) && written;
}

}  // namespace

void RaiseCannotOpen(const std::string& path) { throw EFOpenError("无法打开文件「" + path + "」"); }

void RaiseCannotCreate(const std::string& path) {
  throw EFCreateError("无法创建文件「" + path + "」");
}

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

std::string ReadWholeFile(const std::string& path, int64_t maxBytes) {
  int fd = path.empty() ? -1 : ::open(Native(path).c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st;
  if (fd >= 0 && (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))) {
    ::close(fd);
    fd = -1;
  }
  if (fd < 0) RaiseCannotOpen(path);
  auto tooLarge = [&](int64_t size) {
    if (maxBytes < 0 || size <= maxBytes) return;
    ::close(fd);
    throw EReadError("文件「" + path + "」太大（超过 " + std::to_string(maxBytes >> 20) +
                     " MB），没有读取");
  };
  tooLarge(st.st_size);
  std::string bytes;
  if (st.st_size > 0) bytes.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      throw EReadError("Stream read error");
    }
    if (n == 0) break;
    tooLarge(static_cast<int64_t>(bytes.size()) + n);  // the file may grow while read
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return bytes;
}

std::string TemporaryFileBeside(const std::string& target) {
  const size_t slash = target.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  // "." + at most 200 bytes of the name + ".tmp-" + a pid stays well under 255 bytes.
  return folder + "." + name.substr(0, 200) + ".tmp-" + std::to_string(::getpid());
}

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
  if (path.empty()) RaiseCannotCreate(path);
  const std::string target = FollowLinks(Native(path));
  const std::string temp = TemporaryFileBeside(target);
  // Made afresh: a name already taken, by a file or a link, is never written through.
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    const bool folderRefused = errno == EACCES || errno == EPERM || errno == EROFS;
    struct stat st;
    if (folderRefused && ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::access(target.c_str(), W_OK) == 0) {
      if (!WriteInPlace(target, bytes)) throw EWriteError("Stream write error");
      return;
    }
    RaiseCannotCreate(path);
  }
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
