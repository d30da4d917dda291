// packtext: packs a text file (CR LF line ends, as the reader shows it) into a book file. The
// text may be GBK, as the program keeps its texts, or UTF-8, UTF-16 or UTF-32, which are
// converted to GBK. A GBK text can happen to be well-formed UTF-8 too; --encoding settles
// which it is.
//   packtext [--encoding gbk|utf-8] <text file> <book file>
//   e.g. packtext yj.txt build/release/app/bd/yj.dat
// The book's folder is created when it is missing; the book is written as a new file of the
// packer's own and renamed into place, so a failure leaves the old book whole. Errors are
// Chinese, on standard error; the line that says what was written goes to standard output.
#include "tools/packtext/PackText.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/GbkText.h"

namespace {

// Our texts are GBK; paths and the system's reasons come in the terminal's UTF-8 already.
std::string U(const std::string& gbk) { return GbkToUtf8(gbk); }

int Fail(const std::string& utf8) {
  std::cerr << "packtext: " << utf8 << "\n";
  return 1;
}

std::string Reason(int error) { return std::strerror(error); }

// The whole file, or false with `error` set; a file longer than any text that can make a book
// is not read, or not beyond that (`tooLong` says so).
bool ReadAll(const std::string& path, std::string& bytes, int& error, bool& tooLong) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    error = errno;
    return false;
  }
  std::error_code sized;
  const std::uintmax_t size = std::filesystem::file_size(path, sized);
  tooLong = !sized && size > kTextFileMaxBytes;
  if (!sized && !tooLong) bytes.reserve(static_cast<std::size_t>(size));
  char buffer[1 << 16];
  std::size_t got;
  while (!tooLong && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    bytes.append(buffer, got);
    tooLong = bytes.size() > kTextFileMaxBytes;
  }
  error = std::ferror(file) ? errno : 0;
  std::fclose(file);
  return error == 0 && !tooLong;
}

// A new file of the packer's own in the book's folder, or null with `error` set. "x" makes it
// exclusively: a name that is taken, by a file or a symbolic link, is never opened, so nothing
// of the user's is written to or followed; the name is drawn at random until one is free.
std::FILE* CreateOwnFile(const std::filesystem::path& book, std::string& path, int& error) {
  // Hidden, and short enough for the file system whatever the book's own name.
  const std::string stem = "." + book.filename().string().substr(0, 200) + ".";
  std::random_device device;
  std::mt19937_64 draw((static_cast<std::uint64_t>(device()) << 32) ^ device());
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, "%016llx.tmp", static_cast<unsigned long long>(draw()));
    path = (book.parent_path() / (stem + suffix)).string();
    if (std::FILE* file = std::fopen(path.c_str(), "wbx")) return file;
    if (errno != EEXIST) break;
  }
  error = errno;
  return nullptr;
}

// Writes the book through a file of the packer's own, renamed over the book (a link there is
// replaced, not followed); on any failure that file alone is removed and the old book stays.
bool WriteBook(const std::filesystem::path& book, const std::string& bytes, int& error) {
  std::string temporary;
  std::FILE* file = CreateOwnFile(book, temporary, error);
  if (!file) return false;
  bool written =
      std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
  error = written ? 0 : errno;
  if (std::fclose(file) != 0 && written) {
    error = errno;
    written = false;
  }
  if (written && std::rename(temporary.c_str(), book.c_str()) != 0) {
    error = errno;
    written = false;
  }
  if (!written) std::remove(temporary.c_str());
  return written;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");  // the system's reasons in the user's language
  const std::string usage = U("用法: packtext [--encoding gbk|utf-8] <文本文件> <书文件>");
  TextEncoding declared = TextEncoding::Detect;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    std::string value;
    if (arg == "--encoding") {
      if (i + 1 == argc) return Fail(U("--encoding 后面缺少编码 (gbk 或 utf-8)\n") + usage), 2;
      value = argv[++i];
    } else if (arg.rfind("--encoding=", 0) == 0) {
      value = arg.substr(11);
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Fail(U("不认识的选项「") + arg + U("」\n") + usage), 2;
    } else {
      files.push_back(arg);
      continue;
    }
    const std::string lower = LowerCase(value);
    if (lower == "gbk")
      declared = TextEncoding::Gbk;
    else if (lower == "utf-8" || lower == "utf8")
      declared = TextEncoding::Utf8;
    else
      return Fail(U("不认识的编码「") + value + U("」: 可用 gbk 或 utf-8")), 2;
  }
  if (files.size() != 2) return Fail(usage), 2;
  const std::string source = files[0];
  const std::string target = files[1];
  // A folder where the book goes (given as one, or standing there) is said at once, before
  // the text is read, and in place of what renaming onto it would report.
  std::error_code statusError;
  const std::filesystem::path targetPath(target);
  const std::string last = targetPath.filename().string();
  if (last.empty() || last == "." || last == ".." ||
      std::filesystem::is_directory(std::filesystem::symlink_status(targetPath, statusError)))
    return Fail(U("「") + target + U("」是文件夹，书文件要写成文件: 请在后面加上书文件的名字"));

  std::string bytes;
  int error = 0;
  bool tooLong = false;
  if (!ReadAll(source, bytes, error, tooLong)) {
    if (tooLong)
      return Fail(U("文件「") + source + U("」超过 ") + std::to_string(kTextFileMaxBytes) +
                  U(" 字节，无论哪种编码，转成 GBK 后都超过阅读器能打开的 ") +
                  std::to_string(kPackedTextMaxLength) + U(" 字节 (") +
                  std::to_string(kPackedTextMaxLength >> 20) + " MiB)");
    return Fail(U("无法读取文件「") + source + U("」: ") + Reason(error));
  }
  std::string packed;
  BookSource book;
  try {
    book = ReadBookText(std::move(bytes), declared);
    packed = PackText(book.text);
  } catch (const std::exception& e) {
    return Fail(source + ": " + U(e.what()));
  }
  book.text = std::string();  // the packed book is all that is needed now

  const std::filesystem::path folder = std::filesystem::path(target).parent_path();
  std::error_code made;
  if (!folder.empty() && !std::filesystem::is_directory(folder, made)) {
    std::filesystem::create_directories(folder, made);
    if (made) return Fail(U("无法创建文件夹「") + folder.string() + U("」: ") + made.message());
  }
  // Errors name the book the user asked for, not the packer's file beside it.
  if (!WriteBook(target, packed, error))
    return Fail(U("无法写入文件「") + target + U("」: ") + Reason(error));
  std::cout << "packtext: " << U("按 ") << book.encoding << U(" 读入「") << source
            << U("」，已写成「") << target << U("」") << "\n";
  return 0;
}
