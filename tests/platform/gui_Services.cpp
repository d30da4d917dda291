// Starting other programs.
#include <cstdlib>
#include <fstream>

#include "platform/Clock.h"
#include "platform/gui/Processes.h"
#include "platform/gui/Threads.h"
#include "tests/platform/core_TempFolder.h"
#include "tests/support/GuiTest.h"

namespace {

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
  // The desktops' own calculators come first, mate's before the stand-alone ones.
  for (const char* name : {"galculator", "mate-calc"}) {
    WriteAll(dir / name, "#!/bin/sh\n");
    std::filesystem::permissions(dir / name, std::filesystem::perms::owner_all);
  }
  EXPECT_EQ(FindCalculator(), dir / "mate-calc");
  setenv("PATH", "", 1);
  EXPECT_EQ(FindCalculator(), "");
  setenv("PATH", saved.c_str(), 1);
}

}  // namespace
