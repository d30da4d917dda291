// The online update against the test server: the data files, the progress texts in order, and
// the new program installed only when signed by the maker's key and made for this machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <map>
#include <thread>

#include "platform/gui/Download.h"
#include "tests/workbench_logic/GbkExpect.h"
#include "tests/workbench_logic/UpdateServerFixture.h"
#include "workbench/logic/OnlineUpdate.h"
#include "workbench/logic/ReferenceBookFiles.h"

namespace {

struct RecordedProgress : UpdateProgress {
  void Show(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

const char* const kProgram = "/download/Voduravurazivizevo.exe";
const char* const kSignature = "/download/Voduravurazivizevo.exe.sig";

std::string Progress(const std::string& what) { return "系统正在升级中........" + what; }

// The texts of an update whose data files fared as `fetched` says ('1' fetched, '0' failed).
std::vector<std::string> ExpectedProgress(const std::string& fetched) {
  std::vector<std::string> texts;
  for (size_t i = 0; i < ReferenceBookFiles.size(); ++i) {
    const std::string name = ReferenceBookFiles[i];
    texts.push_back(Progress("升级" + name + "文件"));
    texts.push_back(Progress(name + (fetched[i] == '1' ? "升级成功" : "升级失败")));
  }
  texts.push_back(Progress("升级主文件"));
  return texts;
}

class OnlineUpdateTest : public ::testing::Test, protected UpdateServerFixture {
 protected:
  void TearDown() override { SetDownloadTimeoutsForTesting({}); }

  UpdateResult Run(const TCancellation& cancel = TCancellation()) {
    UpdateSetup setup;
    setup.BaseAddress = server.BaseUrl();
    setup.ProgramFolder = program.Path();
    setup.ProgramFile = ProgramFile();
    setup.PublicKey = key;
    setup.Download = [this](const std::string& url, const std::string& file,
                            const TCancellation& cancel, const FileCheck& check) {
      std::string error;
      const bool fetched = DownloadToFileChecked(url, file, cancel, check, &error);
      if (!fetched) failures.push_back(error);
      return fetched;
    };
    // Stands for the formula window's reading: twelve records of digits.
    setup.FormulaFileFault = [](const std::string& bytes) {
      return bytes.size() >= 180 && bytes.find_first_not_of("0123456789") >= 180 ? ""
                                                                                 : "文件已损坏";
    };
    setup.Message = [this](const std::string& text) { messages.push_back(text); };
    setup.StartProgram = [this](const std::string& file, const std::string& folder) {
      started.push_back(file + " in " + folder);
      return true;
    };
    return RunOnlineUpdate(setup, progress, cancel);
  }

  // Runs the update and calls it off a moment after the server was asked for `path`, which
  // stalls (at the real stall time of half a minute, which the transfer must not wait for).
  UpdateResult RunCancelledAt(const std::string& path) {
    using namespace std::chrono_literals;
    server.AnswerStall(path);
    TCancellation cancel;
    std::thread user([&] {
      while (server.RequestCount(path) == 0) std::this_thread::sleep_for(10ms);
      std::this_thread::sleep_for(200ms);
      cancel.Cancel();
    });
    const UpdateResult result = Run(cancel);
    user.join();
    return result;
  }

  // The update ended with "升级失败", the old program in place and nothing fetched left over.
  void ExpectProgramKept(UpdateResult result) {
    EXPECT_EQ(result, UpdateResult::ProgramKept);
    EXPECT_EQ(messages, (std::vector<std::string>{"即将进行升级，耐心等待!", "升级失败"}));
    EXPECT_EQ(ReadBytes(ProgramFile()), oldProgram);
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(program.Listing(), "Qeva;bd;");  // nothing fetched is left over
  }

  std::string key = maker.PublicKeyHex();
  RecordedProgress progress;
  std::vector<std::string> messages;
  std::vector<std::string> started;
  std::vector<std::string> failures;  // why each failed transfer failed
};

TEST_F(OnlineUpdateTest, EveryDataFileLandsInANewBdFolderAndTheSignedProgramTakesOver) {
  for (const char* name : ReferenceBookFiles) ServeData(name, DataBytes(name));
  ServeSignedProgram();
  programName = "zelkar-6.0";  // whatever the running program is called
  WriteBytes(ProgramFile(), oldProgram);
  std::filesystem::remove(program / "Qeva");
  ASSERT_FALSE(std::filesystem::exists(program / "bd"));

  EXPECT_EQ(Run(), UpdateResult::ProgramReplaced);
  for (const char* name : ReferenceBookFiles) EXPECT_EQ(ReadBytes(DataFile(name)), DataBytes(name));
  const std::vector<std::string> expected = ExpectedProgress(std::string(34, '1'));
  ASSERT_EQ(progress.texts.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_GBK_EQ(progress.texts[i], expected[i]);
  EXPECT_EQ(messages, (std::vector<std::string>{"即将进行升级，耐心等待!", "升级成功"}));
  EXPECT_EQ(ReadBytes(ProgramFile()), newProgram);
  EXPECT_EQ(FileMode(ProgramFile()), 0755u);
  EXPECT_EQ(started, (std::vector<std::string>{ProgramFile() + " in " + program.Path()}));
  EXPECT_EQ(program.Listing(), "bd;zelkar-6.0;");
  // The server was asked in the update's order, data first, then program and signature.
  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 36u);
  EXPECT_EQ(requests[0], "/download/bd/yj.dat");
  EXPECT_EQ(requests[30], "/download/bd/gs.dat");
  EXPECT_EQ(requests[34], "/download/Voduravurazivizevo.exe");
  EXPECT_EQ(requests[35], "/download/Voduravurazivizevo.exe.sig");
}

TEST_F(OnlineUpdateTest, FailedTransfersLeaveTheOldDataFilesByteForByte) {
  SetDownloadTimeoutsForTesting({2000, 300});
  std::filesystem::create_directory(program / "bd");
  for (const char* name : ReferenceBookFiles) {
    ServeData(name, DataBytes(name));
    WriteBytes(DataFile(name), std::string("old ") + name);
  }
  server.AnswerStatus("/download/bd/yj.dat", 404);
  server.AnswerCutShort("/download/bd/xc.dat", "fresh but", 5000);
  server.AnswerStall("/download/bd/xg.dat", true, "fresh and then");
  server.AnswerRedirect("/download/bd/gs.dat", "file:///etc/passwd");
  ServeSignedProgram();

  EXPECT_EQ(Run(), UpdateResult::ProgramReplaced);
  std::string fetched(34, '1');
  fetched[0] = fetched[1] = fetched[2] = fetched[30] = '0';
  EXPECT_EQ(progress.texts, ExpectedProgress(fetched));
  for (size_t i = 0; i < ReferenceBookFiles.size(); ++i) {
    const std::string name = ReferenceBookFiles[i];
    EXPECT_EQ(ReadBytes(DataFile(name)), fetched[i] == '1' ? DataBytes(name) : "old " + name)
        << name;
  }
  std::vector<std::string> names(ReferenceBookFiles.begin(), ReferenceBookFiles.end());
  std::sort(names.begin(), names.end());
  std::string listing;
  for (const std::string& name : names) listing += name + ";";
  EXPECT_EQ(FolderListing(program / "bd"), listing);  // no temporary file left
}

// A whole answer with status 200 replaces a data file only when it reads where the program
// reads it: a book cut short, random bytes, a book whose length lies and a formula file that is
// not twelve records are refused, each line saying which file and why, and the old copy stays
// byte for byte; with no old copy the refused file is not kept either. Good files still land.
TEST_F(OnlineUpdateTest, AFileThatWouldNotReadKeepsTheOldOneAndItsLineSaysWhy) {
  std::filesystem::create_directory(program / "bd");
  for (const char* name : ReferenceBookFiles) {
    ServeData(name, DataBytes(name));
    if (std::string(name) != "hzl.dat") WriteBytes(DataFile(name), std::string("old ") + name);
  }
  const std::string book = PackText(std::string(5000, 'x') + "乾为天\r\n");
  std::string random(3000, '\0');
  uint32_t seed = 5;
  for (char& c : random) c = static_cast<char>((seed = seed * 1664525 + 1013904223) >> 24);
  std::string lying = book;
  lying[3] = '\x03';  // some 50 MB, more than the stream can hold
  ServeData("yj.dat", book.substr(0, book.size() / 2));
  ServeData("xc.dat", random);
  ServeData("xg.dat", lying);
  ServeData("qys.dat", "");  // an empty book is an empty text, as the reader reads it
  ServeData("hzl.dat", book.substr(0, 3));
  ServeData("gs.dat", DataBytes("gs.dat").substr(0, 120));
  ServeSignedProgram();

  EXPECT_EQ(Run(), UpdateResult::ProgramReplaced);
  const std::map<std::string, std::string> refused = {
      {"yj.dat", "升级失败：文件不完整，保留原文件"},
      {"xc.dat", "升级失败：文件已损坏，保留原文件"},
      {"xg.dat", "升级失败：文件已损坏，保留原文件"},
      {"hzl.dat", "升级失败：文件不完整，未保存"},
      {"gs.dat", "升级失败：文件已损坏，保留原文件"}};
  ASSERT_EQ(progress.texts.size(), 69u);
  for (size_t i = 0; i < ReferenceBookFiles.size(); ++i) {
    const std::string name = ReferenceBookFiles[i];
    const auto refusal = refused.find(name);
    EXPECT_GBK_EQ(progress.texts[2 * i + 1],
                  Progress(name + (refusal == refused.end() ? "升级成功" : refusal->second)));
    if (name == "hzl.dat")
      EXPECT_FALSE(std::filesystem::exists(DataFile(name)));
    else if (name == "qys.dat")
      EXPECT_EQ(ReadBytes(DataFile(name)), "");
    else
      EXPECT_TRUE(ReadBytes(DataFile(name)) ==
                  (refusal == refused.end() ? DataBytes(name) : "old " + name))
          << name;
  }
  // The refused bodies went with their temporary files.
  EXPECT_EQ(FolderListing(program / "bd").find(".part"), std::string::npos)
      << FolderListing(program / "bd");
  EXPECT_EQ(messages, (std::vector<std::string>{"即将进行升级，耐心等待!", "升级成功"}));
}

// Each way the new program can be unfit: the update says "升级失败" and the old one stays.
TEST_F(OnlineUpdateTest, AProgramThatIsNotProvenAndFitIsNeverInstalled) {
  const std::string script = "#!/bin/sh\necho hello\n";
  struct Case {
    const char* what;
    std::function<void()> arrange;
  };
  const Case cases[] = {
      {"no key was built in",
       [&] {
         ServeSignedProgram();
         key = "";
       }},
      {"a key that is not one",
       [&] {
         ServeSignedProgram();
         key = "00ff";
       }},
      {"no program on the server", [&] { server.AnswerStatus(kProgram, 404); }},
      {"no signature on the server",
       [&] {
         ServeSignedProgram();
         server.AnswerStatus(kSignature, 404);
       }},
      {"signed by a stranger", [&] { ServeProgram(newProgram, stranger.Sign(newProgram)); }},
      {"the signature of other bytes", [&] { ServeProgram(newProgram, maker.Sign(oldProgram)); }},
      {"a cut program",
       [&] {
         ServeSignedProgram();
         server.AnswerCutShort(kProgram, newProgram.substr(0, 100), newProgram.size());
       }},
      {"signed, but not a program of this machine",
       [&] { ServeProgram(script, maker.Sign(script)); }},
      {"the program's place cannot be taken",
       [&] {
         ServeSignedProgram();
         programName = "occupied";  // a folder with something in it stands there
         std::filesystem::create_directories(program / "occupied/x");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    server.AnswerFromFolder(kProgram);
    server.AnswerFromFolder(kSignature);
    key = maker.PublicKeyHex();
    programName = "Qeva";
    progress.texts.clear();
    messages.clear();
    c.arrange();
    if (programName == "occupied") {
      const UpdateResult result = Run();
      EXPECT_EQ(result, UpdateResult::ProgramKept);
      EXPECT_EQ(messages.back(), "升级失败");
      EXPECT_TRUE(std::filesystem::is_directory(program / "occupied/x"));
      EXPECT_EQ(program.Listing(), "Qeva;bd;occupied;");
      EXPECT_TRUE(started.empty());
    } else {
      ExpectProgramKept(Run());
    }
    EXPECT_EQ(progress.texts.back(), Progress("升级主文件"));
  }
}

TEST_F(OnlineUpdateTest, TheServerAddressComesFromTheEnvironmentWhenItNamesOne) {
  const char* old = std::getenv("ZELKAR_UPDATE_URL");
  const std::string saved = old ? old : "";
  unsetenv("ZELKAR_UPDATE_URL");
  EXPECT_EQ(UpdateBaseAddress("https://www.zelkar.net"), "https://www.zelkar.net");
  setenv("ZELKAR_UPDATE_URL", "", 1);
  EXPECT_EQ(UpdateBaseAddress("https://www.zelkar.net/"), "https://www.zelkar.net");
  setenv("ZELKAR_UPDATE_URL", "http://127.0.0.1:8080//", 1);
  EXPECT_EQ(UpdateBaseAddress("https://www.zelkar.net"), "http://127.0.0.1:8080");
  if (old)
    setenv("ZELKAR_UPDATE_URL", saved.c_str(), 1);
  else
    unsetenv("ZELKAR_UPDATE_URL");
}

// Called off in the middle of a data file or of the program, the update ends at once: the file
// under way keeps its old copy, nothing more is asked of the server or the user, and the
// running program stays with nothing fetched for it left over.
TEST_F(OnlineUpdateTest, ACancelEndsTheUpdateAtOnceAndKeepsTheOldFilesAndProgram) {
  std::filesystem::create_directory(program / "bd");
  for (const char* name : ReferenceBookFiles) {
    ServeData(name, DataBytes(name));
    WriteBytes(DataFile(name), std::string("old ") + name);
  }
  ServeSignedProgram();
  EXPECT_EQ(RunCancelledAt("/download/bd/xc.dat"), UpdateResult::Cancelled);
  // The transfer under way ended as called off, not given up as stalled.
  EXPECT_EQ(failures, (std::vector<std::string>{"cancelled"}));
  ASSERT_EQ(progress.texts.size(), 4u);
  EXPECT_GBK_EQ(progress.texts[1], Progress("yj.dat升级成功"));
  EXPECT_GBK_EQ(progress.texts[2], Progress("升级xc.dat文件"));
  EXPECT_GBK_EQ(progress.texts[3], "升级已取消");
  EXPECT_EQ(messages, (std::vector<std::string>{"即将进行升级，耐心等待!"}));
  EXPECT_EQ(server.Requests(),
            (std::vector<std::string>{"/download/bd/yj.dat", "/download/bd/xc.dat"}));
  EXPECT_EQ(ReadBytes(DataFile("yj.dat")), DataBytes("yj.dat"));
  EXPECT_EQ(ReadBytes(DataFile("xc.dat")), "old xc.dat");
  EXPECT_EQ(FolderListing(program / "bd"), FolderListing(served / "download/bd"));  // no part file
  EXPECT_EQ(ReadBytes(ProgramFile()), oldProgram);
  EXPECT_TRUE(started.empty());

  // Again, called off while the new program comes.
  progress.texts.clear();
  messages.clear();
  failures.clear();
  server.AnswerFromFolder("/download/bd/xc.dat");
  EXPECT_EQ(RunCancelledAt("/download/Voduravurazivizevo.exe"), UpdateResult::Cancelled);
  EXPECT_EQ(failures, (std::vector<std::string>{"cancelled"}));
  ASSERT_EQ(progress.texts.size(), 70u);
  EXPECT_GBK_EQ(progress.texts[68], Progress("升级主文件"));
  EXPECT_GBK_EQ(progress.texts[69], "升级已取消");
  EXPECT_EQ(messages, (std::vector<std::string>{"即将进行升级，耐心等待!"}));
  EXPECT_EQ(server.RequestCount("/download/Voduravurazivizevo.exe.sig"), 0);
  EXPECT_EQ(ReadBytes(ProgramFile()), oldProgram);
  EXPECT_TRUE(started.empty());
  EXPECT_EQ(program.Listing(), "Qeva;bd;");
}

}  // namespace
