// Downloads into files against the test server: what arrives whole replaces the file, and
// every kind of failure leaves the old file byte for byte with no temporary file behind.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/gui/Download.h"
#include "tests/platform/core_LoadedLibraries.h"
#include "tests/platform/core_TempFolder.h"
#include "tests/support/TestHttpServer.h"

namespace {

using namespace std::chrono_literals;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A served folder with one data file and a target folder holding a good old copy.
class DownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(served / "bd");
    WriteAll(served / "bd/yj.dat", fresh);
    WriteAll(local / "yj.dat", old);
  }
  void TearDown() override { SetDownloadTimeoutsForTesting({}); }

  // False, the old copy untouched and nothing else in the folder.
  void ExpectRefused(const std::string& url) {
    std::string error;
    EXPECT_FALSE(DownloadToFile(url, local / "yj.dat", &error)) << url;
    EXPECT_FALSE(error.empty()) << url;
    EXPECT_EQ(ReadAll(local / "yj.dat"), old) << url;
    EXPECT_EQ(local.Listing(), "yj.dat;") << url;
  }

  TempFolder served;
  TempFolder local;
  TestHttpServer server{served.Path()};
  const std::string fresh = std::string("\x10\0\0\0x\x9c new text", 14);
  const std::string old = std::string("\x08\0\0\0x\x9c old", 10);
};

TEST_F(DownloadTest, AWholeTransferReplacesTheFileAndAFailedOneLeavesItAlone) {
  std::string error;
  EXPECT_TRUE(DownloadToFile(server.Url("/bd/yj.dat"), local / "yj.dat", &error)) << error;
  EXPECT_EQ(ReadAll(local / "yj.dat"), fresh);
  EXPECT_TRUE(DownloadToFile(server.Url("/bd/yj.dat"), local / "new.dat", &error)) << error;
  EXPECT_EQ(ReadAll(local / "new.dat"), fresh);
  std::filesystem::remove(local / "new.dat");
  WriteAll(local / "yj.dat", old);

  ExpectRefused(server.Url("/bd/missing.dat"));  // the folder's own 404
  server.AnswerStatus("/bd/yj.dat", 500);
  ExpectRefused(server.Url("/bd/yj.dat"));
  server.AnswerStatus("/bd/yj.dat", 403);
  ExpectRefused(server.Url("/bd/yj.dat"));
  server.AnswerCutShort("/bd/yj.dat", "x\x9c half", 4000);
  ExpectRefused(server.Url("/bd/yj.dat"));
  // Nobody listens on this port of this machine: refused at once.
  ExpectRefused("http://127.0.0.1:9/bd/yj.dat");
  EXPECT_FALSE(DownloadToFile(server.Url("/bd/yj.dat"), local / "no-such-folder/x.dat"));
  EXPECT_FALSE(DownloadToFile(server.Url("/bd/yj.dat"), ""));
  EXPECT_EQ(local.Listing(), "yj.dat;");
}

// A check sees the whole body in a temporary file of the download's own, beside the target, and
// before it takes the target's place: refused (or raising), the body goes and the old copy
// stays; let in, it replaces it.
TEST_F(DownloadTest, ACheckedBodyReplacesTheFileOnlyWhenTheCheckLetsItIn) {
  std::vector<std::string> seen;  // each body the check saw, and where
  const auto check = [&](const std::string& verdict) {
    return [&, verdict](const std::string& file) {
      seen.push_back(ReadAll(file));
      EXPECT_EQ(std::filesystem::path(file).parent_path(), local.Path()) << file;
      EXPECT_NE(file, local / "yj.dat");
      if (verdict == "raise") throw std::runtime_error("unreadable");
      return verdict;
    };
  };
  std::string error;
  const TCancellation cancel;
  EXPECT_FALSE(DownloadToFileChecked(server.Url("/bd/yj.dat"), local / "yj.dat", cancel,
                                     check("damaged"), &error));
  EXPECT_EQ(error, "damaged");
  EXPECT_FALSE(DownloadToFileChecked(server.Url("/bd/yj.dat"), local / "yj.dat", cancel,
                                     check("raise"), &error));
  EXPECT_EQ(error, "unreadable");
  EXPECT_EQ(ReadAll(local / "yj.dat"), old);
  EXPECT_EQ(local.Listing(), "yj.dat;");
  EXPECT_TRUE(
      DownloadToFileChecked(server.Url("/bd/yj.dat"), local / "yj.dat", cancel, check(""), &error))
      << error;
  EXPECT_EQ(ReadAll(local / "yj.dat"), fresh);
  EXPECT_EQ(seen, (std::vector<std::string>{fresh, fresh, fresh}));
  // A failed transfer is never shown to the check.
  server.AnswerCutShort("/bd/yj.dat", "x\x9c half", 4000);
  EXPECT_FALSE(
      DownloadToFileChecked(server.Url("/bd/yj.dat"), local / "yj.dat", cancel, check(""), &error));
  EXPECT_EQ(seen.size(), 3u);
  EXPECT_EQ(local.Listing(), "yj.dat;");
}

TEST_F(DownloadTest, LibcurlIsLoadedWithTheFirstDownloadNotBefore) {
  // A fresh run of this program, so that no earlier test has loaded it.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        if (LibraryMapped("libcurl")) std::_Exit(1);
        if (!DownloadToFile(server.Url("/bd/yj.dat"), local / "yj.dat")) std::_Exit(2);
        if (!LibraryMapped("libcurl") || ReadAll(local / "yj.dat") != fresh) std::_Exit(3);
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(DownloadTest, MalformedAddressesAndOtherSchemesAreRefusedWithoutAsking) {
  for (const std::string& url :
       {std::string(""), std::string("not an address"), std::string("127.0.0.1/bd/yj.dat"),
        "http//127.0.0.1:" + std::to_string(server.Port()) + "/bd/yj.dat", std::string("http://"),
        std::string("http://[::1/bd/yj.dat"), "file://" + (served / "bd/yj.dat"),
        "ftp://127.0.0.1:" + std::to_string(server.Port()) + "/bd/yj.dat"})
    ExpectRefused(url);
  EXPECT_TRUE(server.Requests().empty());
  // The scheme's case does not matter.
  EXPECT_TRUE(DownloadToFile("HTTP://127.0.0.1:" + std::to_string(server.Port()) + "/bd/yj.dat",
                             local / "yj.dat"));
}

TEST_F(DownloadTest, RedirectsAreFollowedFiveTimesAndOnlyToHttp) {
  server.AnswerRedirect("/r1", server.Url("/r2"), 301);
  server.AnswerRedirect("/r2", server.Url("/r3"), 302);
  server.AnswerRedirect("/r3", server.Url("/r4"), 303);
  server.AnswerRedirect("/r4", server.Url("/r5"), 307);
  server.AnswerRedirect("/r5", server.Url("/bd/yj.dat"), 308);
  std::string error;
  EXPECT_TRUE(DownloadToFile(server.Url("/r1"), local / "yj.dat", &error)) << error;
  EXPECT_EQ(ReadAll(local / "yj.dat"), fresh);
  WriteAll(local / "yj.dat", old);
  // A sixth redirect is one too many.
  server.AnswerRedirect("/r0", server.Url("/r1"));
  ExpectRefused(server.Url("/r0"));
  EXPECT_EQ(server.RequestCount("/bd/yj.dat"), 1);  // only the first chain arrived

  // A server that sends us to a file of this machine, or to another scheme, is not followed.
  server.AnswerRedirect("/local", "file://" + (served / "bd/yj.dat"));
  ExpectRefused(server.Url("/local"));
  server.AnswerRedirect("/ftp", "ftp://127.0.0.1:" + std::to_string(server.Port()) + "/bd/yj.dat");
  ExpectRefused(server.Url("/ftp"));
  // A redirect that names no place ends on its own page, which is not the file.
  server.AnswerBody("/nowhere", "moved", 302);
  ExpectRefused(server.Url("/nowhere"));
  server.AnswerRedirect("/loop", server.Url("/loop"));
  ExpectRefused(server.Url("/loop"));
}

// A server that goes silent is given up by the stall watch (at a moment's stall time here),
// not by any other limit: the real half minute, or none at all.
TEST_F(DownloadTest, AStalledServerIsGivenUpByTheStallWatch) {
  SetDownloadTimeoutsForTesting({2000, 300});
  server.AnswerStall("/silent");                           // accepts, then says nothing at all
  server.AnswerStall("/half", true, "x\x9c half a body");  // stops in the middle of the body
  for (const char* path : {"/silent", "/half"}) {
    std::string error;
    EXPECT_FALSE(DownloadToFile(server.Url(path), local / "yj.dat", &error)) << path;
    EXPECT_EQ(error, "the transfer stalled") << path;
    EXPECT_EQ(ReadAll(local / "yj.dat"), old) << path;
    EXPECT_EQ(local.Listing(), "yj.dat;") << path;
  }
}

// A transfer called off while the server says nothing ends as called off, not given up by the
// stall watch (at the real stall time of half a minute, the watchdog here), removes what it
// fetched and leaves the old file; one called off before it starts asks nothing.
TEST_F(DownloadTest, ACancelEndsAStalledTransferAtOnceAndLeavesTheOldFile) {
  server.AnswerStall("/silent");
  server.AnswerStall("/half", true, "x\x9c half a body");
  for (const char* path : {"/silent", "/half"}) {
    TCancellation cancel;
    std::thread user([&] {
      while (server.RequestCount(path) == 0) std::this_thread::sleep_for(10ms);
      std::this_thread::sleep_for(300ms);  // the half body is in the temporary file by now
      cancel.Cancel();
    });
    std::string error;
    const bool fetched = DownloadToFile(server.Url(path), local / "yj.dat", cancel, &error);
    user.join();
    EXPECT_FALSE(fetched) << path;
    EXPECT_EQ(error, "cancelled") << path;
    EXPECT_EQ(ReadAll(local / "yj.dat"), old) << path;
    EXPECT_EQ(local.Listing(), "yj.dat;") << path;
  }
  TCancellation cancelled;
  cancelled.Cancel();
  EXPECT_FALSE(DownloadToFile(server.Url("/bd/yj.dat"), local / "yj.dat", cancelled));
  EXPECT_EQ(server.RequestCount("/bd/yj.dat"), 0);
  EXPECT_EQ(ReadAll(local / "yj.dat"), old);
  // Not called off, the same call fetches the file.
  TCancellation idle;
  EXPECT_TRUE(DownloadToFile(server.Url("/bd/yj.dat"), local / "yj.dat", idle));
  EXPECT_EQ(ReadAll(local / "yj.dat"), fresh);
}

// A server that never answers, at the real timeouts (seconds to connect, half a minute of
// silence): a cancel made while the transfer waits for it wakes that wait, so what ends the
// transfer is the cancel, not the stall time, and nothing fetched stays behind. No clock is
// read; the watchdog only turns a transfer that never ends into a failure.
TEST_F(DownloadTest, ACancelWakesATransferWaitingForAServerThatNeverAnswers) {
  server.AnswerStall("/silent");
  for (int round = 0; round < 3; ++round) {
    TCancellation cancel;
    std::atomic<bool> ended{false};
    std::thread user([&] {
      const auto watchdog = std::chrono::steady_clock::now() + 20s;
      while (server.RequestCount("/silent") <= round && !ended &&
             std::chrono::steady_clock::now() < watchdog)
        std::this_thread::sleep_for(1ms);
      cancel.Cancel();
    });
    std::string error;
    EXPECT_FALSE(DownloadToFile(server.Url("/silent"), local / "yj.dat", cancel, &error));
    ended = true;
    user.join();
    EXPECT_EQ(error, "cancelled");
    EXPECT_EQ(ReadAll(local / "yj.dat"), old);
    EXPECT_EQ(local.Listing(), "yj.dat;");
  }
  EXPECT_EQ(server.RequestCount("/silent"), 3);
}

}  // namespace
