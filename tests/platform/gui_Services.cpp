// Downloads into files and starting other programs.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/Clock.h"
#include "platform/GbkText.h"
#include "platform/gui/Download.h"
#include "platform/gui/Processes.h"
#include "platform/gui/Threads.h"
#include "tests/platform/core_TempFolder.h"
#include "tests/support/GuiTest.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

bool WaitForFile(const std::string& path) {
  const uint32_t start = GetTickCount();
  while (!std::filesystem::exists(path)) {
    if (GetTickCount() - start > 5000) return false;
    Sleep(5);
  }
  return true;
}

TEST(DownloadTest, AWholeTransferReplacesTheFileAndAFailedOneLeavesItAlone) {
  TempFolder dir;
  const std::string source = dir / "gs.dat";
  WriteAll(source, std::string("001010203040506\0\xff", 17));
  const std::string target = dir / "copy.dat";
  WriteAll(target, "old");

  std::string error;
  EXPECT_TRUE(DownloadToFile("file://" + source, target, &error)) << error;
  EXPECT_EQ(ReadAll(target), ReadAll(source));

  const std::string missing = "file://" + (dir / "missing.dat");
  EXPECT_FALSE(DownloadToFile(missing, target, &error));
  EXPECT_EQ(GbkToUtf8(error.substr(0, missing.size() + 8)), GbkToUtf8("下载「" + missing + "」"));
  EXPECT_EQ(ReadAll(target), ReadAll(source));
  // Nobody listens on this port of this machine: refused at once.
  EXPECT_FALSE(DownloadToFile("http://127.0.0.1:9/gs.dat", target));
  EXPECT_EQ(ReadAll(target), ReadAll(source));
  EXPECT_FALSE(DownloadToFile("", target));
  EXPECT_FALSE(DownloadToFile("file://" + source, dir / "no-such-folder/x.dat", &error));
  EXPECT_EQ(GbkToUtf8(error), GbkToUtf8("无法创建文件「" + dir / "no-such-folder/x.dat" + "」的临时文件"));
  EXPECT_EQ(dir.Listing(), "copy.dat;gs.dat;");  // no temporary file left behind
}

TEST(ProcessTest, ProgramsAndScriptsStartInTheirFolderWithoutAShell) {
  TempFolder dir;
  // The argument reaches the program as it is: no shell splits or expands it.
  ASSERT_TRUE(StartProgram("touch", {"a b;$HOME"}, dir.Path()));
  EXPECT_TRUE(WaitForFile(dir / "a b;$HOME"));

  WriteAll(dir / "update.sh", "echo done > result.txt\n");
  ASSERT_TRUE(StartScript(dir / "update.sh", dir.Path()));
  ASSERT_TRUE(WaitForFile(dir / "result.txt"));
  EXPECT_FALSE(StartProgram("no-such-program-anywhere", {}));
  EXPECT_FALSE(StartScript(dir / "missing.sh"));
}

TEST(ProcessTest, TheCalculatorIsLookedUpOnThePath) {
  TempFolder dir;
  const char* old = std::getenv("PATH");
  const std::string saved = old ? old : "";
  WriteAll(dir / "xcalc", "#!/bin/sh\n");
  setenv("PATH", dir.Path().c_str(), 1);
  EXPECT_EQ(FindCalculator(), "");  // not executable
  std::filesystem::permissions(dir / "xcalc", std::filesystem::perms::owner_all);
  EXPECT_EQ(FindCalculator(), dir / "xcalc");
  setenv("PATH", "", 1);
  EXPECT_EQ(FindCalculator(), "");
  setenv("PATH", saved.c_str(), 1);
}

}  // namespace
