// packtext: packs a text file (CR LF line ends, as the reader shows it) into a book file. The
// text may be GBK, as the program keeps its texts, or UTF-8 or UTF-16, which are converted to
// GBK. A GBK text can happen to be well-formed UTF-8 too; --encoding settles which it is.
//   packtext [--encoding gbk|utf-8] <text file> <book file>
//   e.g. packtext yj.txt build/release/app/bd/yj.dat
// The book's folder is created when it is missing. Errors are Chinese, on standard error; the
// line that says what was written goes to standard output.
#include "tools/packtext/PackText.h"

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
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
  // Only what this wrote is taken away: a file that could not be opened may be someone's folder.
  if (error != 0) std::remove(path.c_str());
  return error == 0;
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

  std::string bytes;
  int error = 0;
  if (!ReadAll(source.c_str(), bytes, error))
    return Fail(U("无法读取文件「") + source + U("」: ") + Reason(error));
  std::string packed;
  BookSource book;
  try {
    book = ReadBookText(bytes, declared);
    packed = PackText(book.text);
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
  // Errors name the book the user asked for, not the temporary file beside it.
  if (!WriteAll(temporary, packed, error)) {
    return Fail(U("无法写入文件「") + target + U("」: ") + Reason(error));
  }
  if (std::rename(temporary.c_str(), target.c_str()) != 0) {
    error = errno;
    std::remove(temporary.c_str());
    return Fail(U("无法写入文件「") + target + U("」: ") + Reason(error));
  }
  std::cout << "packtext: " << U("按 ") << book.encoding << U(" 读入「") << source
            << U("」，已写成「") << target << U("」") << "\n";
  return 0;
}
