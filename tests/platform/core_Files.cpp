#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core_TempFolder.h"
#include "core_Unprivileged.h"
#include "platform/Exceptions.h"
#include "platform/Files.h"
#include "platform/GbkText.h"

namespace {

std::string U(const std::string& gbk) { return GbkToUtf8(gbk); }

TEST(Files, ProgramFolderIsTheFolderOfTheRunningProgram) {
  const std::string folder = ProgramFolder();
  EXPECT_NE(folder.back(), '/');
  EXPECT_TRUE(FileExists(folder + "/platform_tests")) << folder;
  SetProgramFolderForTesting("/opt/qeva/");
  EXPECT_EQ(ProgramFolder(), "/opt/qeva");
  EXPECT_EQ(ProgramPath("bd/gs.dat"), "/opt/qeva/bd/gs.dat");
  SetProgramFolderForTesting("");
  EXPECT_EQ(ProgramFolder(), folder);

  EXPECT_EQ(ProgramFile(), folder + "/platform_tests");
  SetProgramFileForTesting("/opt/qeva/Qeva");
  EXPECT_EQ(ProgramFile(), "/opt/qeva/Qeva");
  SetProgramFileForTesting("");
  EXPECT_EQ(ProgramFile(), folder + "/platform_tests");
}

TEST(Files, GbkPathsReachTheFileSystemAsUtf8) {
  TempFolder dir;
  const std::string path = dir / "卦象.txt";
  WriteFileAtomically(path, "乾为天");
  EXPECT_TRUE(std::filesystem::exists(dir.Path() + "/" + U("卦象.txt")));
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(U(ReadWholeFile(path)), U("乾为天"));
}

TEST(Files, ExistenceAndFolders) {
  TempFolder dir;
  EXPECT_TRUE(DirectoryExists(dir.Path()));
  EXPECT_FALSE(FileExists(dir.Path()));
  EXPECT_FALSE(FileExists(dir / "none"));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(CreateDir(dir / "a/b"));  // one level only
  EXPECT_TRUE(CreateDir(dir / "bd"));
  EXPECT_TRUE(CreateDir(dir / "bd"));  // already there
  EXPECT_TRUE(ForceDirectories(dir / "a/b/c"));
  EXPECT_TRUE(DirectoryExists(dir / "a/b/c"));
  WriteFileAtomically(dir / "f", "x");
  EXPECT_FALSE(ForceDirectories(dir / "f/g"));
  EXPECT_FALSE(DeleteFile(dir / "bd"));
  EXPECT_TRUE(DeleteFile(dir / "f"));
  EXPECT_FALSE(DeleteFile(dir / "f"));
}

TEST(Files, RenameNeverReplacesAFile) {
  TempFolder dir;
  WriteFileAtomically(dir / "old", "1");
  WriteFileAtomically(dir / "new", "2");
  EXPECT_FALSE(RenameFile(dir / "new", dir / "old"));
  EXPECT_EQ(ReadWholeFile(dir / "old"), "1");
  EXPECT_TRUE(RenameFile(dir / "new", dir / "moved"));
  EXPECT_EQ(ReadWholeFile(dir / "moved"), "2");
  EXPECT_FALSE(FileExists(dir / "new"));
  EXPECT_FALSE(RenameFile(dir / "missing", dir / "other"));
}

TEST(Files, ReplaceTakesThePlaceOfAFileAndModesAreSet) {
  TempFolder dir;
  WriteFileAtomically(dir / "Qeva", "old");
  WriteFileAtomically(dir / "Qeva.new", "new");
  ASSERT_TRUE(SetFileMode(dir / "Qeva.new", 0755));
  struct stat st;
  ASSERT_EQ(::stat((dir / "Qeva.new").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0755u);
  ASSERT_TRUE(ReplaceFile(dir / "Qeva.new", dir / "Qeva"));
  EXPECT_EQ(ReadWholeFile(dir / "Qeva"), "new");
  EXPECT_EQ(dir.Listing(), "Qeva;");
  // A folder in the way is never replaced, and the file stays where it was.
  std::filesystem::create_directory(dir / "bd");
  WriteFileAtomically(dir / "bd/yj.dat", "1");
  EXPECT_FALSE(ReplaceFile(dir / "Qeva", dir / "bd"));
  EXPECT_EQ(ReadWholeFile(dir / "Qeva"), "new");
  EXPECT_FALSE(ReplaceFile(dir / "missing", dir / "Qeva"));
  EXPECT_FALSE(SetFileMode(dir / "missing", 0755));
}

TEST(Files, CanonicalPathOfWhatExistsAndEmptyForWhatDoesNot) {
  TempFolder dir;
  std::filesystem::create_directory(U(dir / "程序"));
  WriteFileAtomically(dir / "程序/Qeva", "x");
  std::filesystem::create_symlink(U(dir / "程序/Qeva"), dir / "link");
  const std::string real = std::filesystem::canonical(dir.Path()).string() + "/程序/Qeva";
  EXPECT_EQ(U(CanonicalPath(dir / "程序/../程序/./Qeva")), U(real));
  EXPECT_EQ(U(CanonicalPath(dir / "link")), U(real));
  EXPECT_EQ(CanonicalPath(dir / "程序/missing"), "");
  EXPECT_EQ(CanonicalPath(dir / "dangling"), "");
  std::filesystem::create_symlink(dir / "nowhere", dir / "dangling");
  EXPECT_EQ(CanonicalPath(dir / "dangling"), "");
  EXPECT_EQ(CanonicalPath(""), "");
}

TEST(Files, PathParts) {
  EXPECT_EQ(ExtractFilePath("/a/b/Qeva"), "/a/b/");
  EXPECT_EQ(ExtractFilePath("Qeva"), "");
  EXPECT_EQ(ExtractFileName("/a/b/Qeva"), "Qeva");
  EXPECT_EQ(U(ExtractFileName("bd/乗.dat")), U("乗.dat"));
  EXPECT_EQ(ChangeFileExt("/a/Qeva.exe", ".bat"), "/a/Qeva.bat");
  EXPECT_EQ(ChangeFileExt("/a.b/Qeva", ".txt"), "/a.b/Qeva.txt");
  EXPECT_EQ(ChangeFileExt("x.tar.gz", ""), "x.tar");
}

TEST(Files, ReadWholeFileErrors) {
  TempFolder dir;
  try {
    ReadWholeFile(dir / "none");
    ADD_FAILURE() << "missing file read";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "无法打开文件「" + dir / "none" + "」");
  }
  EXPECT_THROW(ReadWholeFile(dir.Path()), EFOpenError);
  WriteFileAtomically(dir / "empty", "");
  EXPECT_EQ(ReadWholeFile(dir / "empty"), "");
}

TEST(Files, AtomicWriteReplacesWholeAndLeavesNoTemporaryFile) {
  TempFolder dir;
  const std::string path = dir / "gs.dat";
  std::string big(200000, 'x');
  WriteFileAtomically(path, big);
  ASSERT_EQ(ReadWholeFile(path), big);
  ASSERT_EQ(::chmod(U(path).c_str(), 0640), 0);
  WriteFileAtomically(path, "short");
  EXPECT_EQ(ReadWholeFile(path), "short");
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // a replaced file keeps its permissions
  EXPECT_EQ(dir.Listing(), "gs.dat;");
}

TEST(Files, FailedAtomicWriteKeepsTheOldFile) {
  TempFolder dir;
  const std::string path = dir / "UloConfig.ini";
  WriteFileAtomically(path, "old");
  // The temporary file cannot be created: its name is taken by a folder.
  const std::string blocker = TemporaryFileBeside(path);
  EXPECT_EQ(blocker, dir / (".UloConfig.ini.tmp-" + std::to_string(::getpid())));
  ASSERT_TRUE(CreateDir(blocker));
  EXPECT_THROW(WriteFileAtomically(path, "new"), EFCreateError);
  EXPECT_EQ(ReadWholeFile(path), "old");
  ASSERT_TRUE(std::filesystem::remove(blocker));
  // Nor is a link there written through, nor a file there emptied.
  WriteFileAtomically(dir / "victim", "kept");
  std::filesystem::create_symlink(dir / "victim", blocker);
  EXPECT_THROW(WriteFileAtomically(path, "new"), EFCreateError);
  EXPECT_EQ(ReadWholeFile(dir / "victim"), "kept");
  ASSERT_TRUE(std::filesystem::remove(blocker));
  WriteFileAtomically(blocker, "a file of the user's");
  EXPECT_THROW(WriteFileAtomically(path, "new"), EFCreateError);
  EXPECT_EQ(ReadWholeFile(blocker), "a file of the user's");
  EXPECT_EQ(ReadWholeFile(path), "old");
  ASSERT_TRUE(std::filesystem::remove(blocker));
  ASSERT_TRUE(std::filesystem::remove(dir / "victim"));

  // The target is a folder: the rename fails and the temporary file goes away again.
  ASSERT_TRUE(CreateDir(dir / "folder"));
  try {
    WriteFileAtomically(dir / "folder", "x");
    ADD_FAILURE() << "wrote over a folder";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), "无法创建文件「" + dir / "folder" + "」");
  }
  EXPECT_TRUE(DirectoryExists(dir / "folder"));
  EXPECT_EQ(dir.Listing(), "UloConfig.ini;folder;");

  // The folder does not exist.
  EXPECT_THROW(WriteFileAtomically(dir / "none/x.ini", "x"), EFCreateError);
  EXPECT_THROW(WriteFileAtomically("", "x"), EFCreateError);
}

TEST(Files, AReadOnlyFolderTakesAWritableFileInPlaceAndNothingElse) {
  TempFolder dir;
  const std::string writable = dir / "a.ini", readOnly = dir / "b.ini";
  WriteFileAtomically(writable, "old");
  WriteFileAtomically(readOnly, "old");
  ASSERT_EQ(::chmod(writable.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
  ASSERT_EQ(::chmod(dir.Path().c_str(), 0555), 0);
  EXPECT_TRUE(RunUnprivileged([&] { WriteFileAtomically(writable, "new, and longer"); }));
  EXPECT_TRUE(RunUnprivileged([&] { WriteFileAtomically(writable, "cut"); }));
  EXPECT_FALSE(RunUnprivileged([&] { WriteFileAtomically(readOnly, "new"); }));
  EXPECT_FALSE(RunUnprivileged([&] { WriteFileAtomically(dir / "c.ini", "new"); }));
  ::chmod(dir.Path().c_str(), 0755);
  EXPECT_EQ(ReadWholeFile(writable), "cut");
  EXPECT_EQ(ReadWholeFile(readOnly), "old");
  EXPECT_EQ(dir.Listing(), "a.ini;b.ini;");
}

TEST(Files, SavingOverASymbolicLinkReplacesItsTarget) {
  TempFolder dir, other;
  const std::string target = other / "real.txt";
  WriteFileAtomically(target, "old");
  ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
  std::filesystem::create_symlink(target, dir / "absolute.txt");
  std::filesystem::create_symlink("absolute.txt", dir / "chain.txt");  // relative, two steps
  std::filesystem::create_symlink("missing.txt", dir / "dangling.txt");

  WriteFileAtomically(dir / "chain.txt", "new");
  EXPECT_TRUE(std::filesystem::is_symlink(std::string(dir / "chain.txt")));
  EXPECT_TRUE(std::filesystem::is_symlink(std::string(dir / "absolute.txt")));
  EXPECT_EQ(ReadWholeFile(target), "new");
  struct stat st;
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(other.Listing(), "real.txt;");  // the temporary file lay beside the target

  WriteFileAtomically(dir / "dangling.txt", "made");
  EXPECT_TRUE(std::filesystem::is_symlink(std::string(dir / "dangling.txt")));
  EXPECT_EQ(ReadWholeFile(dir / "missing.txt"), "made");
  EXPECT_EQ(dir.Listing(), "absolute.txt;chain.txt;dangling.txt;missing.txt;");
}

TEST(Files, ReadWholeFileRefusesAFileAboveTheLimit) {
  TempFolder dir;
  WriteFileAtomically(dir / "big", std::string(3u << 20, 'x'));
  EXPECT_EQ(ReadWholeFile(dir / "big", 3 << 20).size(), 3u << 20);
  try {
    ReadWholeFile(dir / "big", 2 << 20);
    ADD_FAILURE() << "read past the limit";
  } catch (const EReadError& e) {
    EXPECT_EQ(U(e.Message()), U("文件「" + dir / "big" + "」太大（超过 2 MB），没有读取"));
  }
}

}  // namespace
