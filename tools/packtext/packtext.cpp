// packtext: packs a text file (CR LF line ends, as the reader shows it) into a book file. The
// text may be GBK, as the program keeps its texts, or UTF-8, which is converted to GBK.
//   packtext <text file> <book file>      e.g. packtext yj.txt build/release/app/bd/yj.dat
// The book's folder is created when it is missing. Messages are Chinese, on standard error.
#include "tools/packtext/PackText.h"

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>

#include "platform/GbkText.h"

namespace {

// Our texts are GBK; paths and the system's reasons come in the terminal's UTF-8 already.
std::string U(const std::string& gbk) { return GbkToUtf8(gbk); }

int Fail(const std::string& utf8) {
  std::cerr << "packtext: " << utf8 << "\n";
  return 1;
}

std::string Reason(int error) { return std::strerror(error); }

bool ReadAll(const char* path, std::string& bytes, int& error) {
  std::FILE* file = std::fopen(path, "rb");
  if (!file) {
    error = errno;
    return false;
  }
  char buffer[1 << 16];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  error = std::ferror(file) ? errno : 0;
  std::fclose(file);
  return error == 0;
}

bool WriteAll(const std::string& path, const std::string& bytes, int& error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    error = errno;
    return false;
  }
  const bool written =
      std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
  error = written ? 0 : errno;
  if (std::fclose(file) != 0 && written) error = errno;
  return error == 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");  // the system's reasons in the user's language
  if (argc != 3) return Fail(U("用法: packtext <文本文件> <书文件>")), 2;
  const std::string source = argv[1];
  const std::string target = argv[2];

  std::string bytes;
  int error = 0;
  if (!ReadAll(argv[1], bytes, error))
    return Fail(U("无法读取文件「") + source + U("」: ") + Reason(error));
  std::string packed;
  try {
    packed = PackText(BookText(bytes));
  } catch (const std::exception& e) {
    return Fail(source + ": " + U(e.what()));
  }

  const std::filesystem::path folder = std::filesystem::path(target).parent_path();
  std::error_code made;
  if (!folder.empty() && !std::filesystem::is_directory(folder, made)) {
    std::filesystem::create_directories(folder, made);
    if (made) return Fail(U("无法创建文件夹「") + folder.string() + U("」: ") + made.message());
  }
  // Written beside the target first, so a failed write leaves an existing book whole.
  const std::string temporary = target + ".tmp";
  if (!WriteAll(temporary, packed, error)) {
    std::remove(temporary.c_str());
    return Fail(U("无法写入文件「") + temporary + U("」: ") + Reason(error));
  }
  if (std::rename(temporary.c_str(), target.c_str()) != 0) {
    error = errno;
    std::remove(temporary.c_str());
    return Fail(U("无法写入文件「") + target + U("」: ") + Reason(error));
  }
  return 0;
}
