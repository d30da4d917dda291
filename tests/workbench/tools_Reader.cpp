// The book commands and the reader: every command opens its own file under its own title, a
// missing, damaged or lying file tells the user and opens nothing, and the reader never shows
// a book it showed before.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "platform/gui/BusyWork.h"
#include "platform/gui/Threads.h"
#include "tests/workbench/tools_Fixture.h"

namespace {

struct Book {
  const char* caption;
  const char* file;
};
const Book kBooks[] = {
    {"易经", "yj.dat"},         {"系辞", "xc.dat"},         {"序卦", "xg.dat"},
    {"取用神", "qys.dat"},      {"何知章", "hzz.dat"},      {"火珠林", "hzl.dat"},
    {"易隐1", "yy1.dat"},       {"青崖增删1", "qyzs1.dat"}, {"青崖曾删2", "qyzs2.dat"},
    {"青崖增删3", "qyzs3.dat"}, {"青崖增删4", "qyzs4.dat"}, {"青崖增删5", "qyzs5.dat"},
    {"新派六爻", "xply.dat"},   {"六爻条例", "lytl.dat"},   {"六爻祥真1", "lyxz1.dat"},
    {"六爻祥真2", "lyxz2.dat"}, {"祥真修订", "xzxd.dat"},   {"六爻基础", "lyjc.dat"},
    {"六爻实例", "lysl.dat"},   {"六爻卦技", "lygj.dat"},   {"六爻入门", "lyrm.dat"},
    {"六爻风水", "lyfs.dat"},   {"六爻卦相", "lygx.dat"},   {"林远答疑1", "lydy1.dat"},
    {"林远答疑2", "lydy2.dat"}, {"十二技法", "sejf.dat"},   {"卜筮讲座", "bsjz.dat"},
    {"易隐2", "yy2.dat"},       {"易隐3", "yy3.dat"},       {"林远答疑3", "lydy3.dat"},
    {"黄金策1", "hjc1.dat"},    {"黄金策2", "hjc2.dat"},    {"黄金策3", "hjc3.dat"}};

}  // namespace

TEST_F(ToolWindowsTest, EveryBookCommandOpensItsOwnFileUnderItsTitle) {
  for (const Book& book : kBooks)
    WriteBook(book.file, PackText(std::string("《") + book.caption + "》\r\n" + book.file));
  for (const Book& book : kBooks) {
    const Opened opened = OpenBook(book.caption);
    EXPECT_TRUE(opened.shown) << U8(book.caption);
    EXPECT_GBK_EQ(opened.title, book.caption);
    EXPECT_GBK_EQ(opened.text, std::string("《") + book.caption + "》\r\n" + book.file);
    // Closing empties the reader.
    EXPECT_EQ(reader->RichEdit1->GetText(), "") << U8(book.caption);
  }
  EXPECT_TRUE(dialogs().Messages().empty());
}

TEST_F(ToolWindowsTest, ReaderStartsAtTheTopLeftAndFollowsItsSize) {
  EXPECT_GBK_EQ(reader->Caption(), "易学葵花宝典");
  EXPECT_EQ(reader->Left(), 0);
  EXPECT_EQ(reader->Top(), 0);
  EXPECT_EQ(reader->Width(), 518);
  EXPECT_EQ(reader->Height(), 439);
  EXPECT_GBK_EQ(reader->GroupBox1->Caption(), "易学秘笈");
  EXPECT_EQ(reader->RichEdit1->Parent(), reader->GroupBox1);
  EXPECT_TRUE(reader->RichEdit1->ReadOnly());
  reader->SetBounds(reader->Left(), reader->Top(), 600, 500);
  EXPECT_EQ(reader->GroupBox1->Width(), 579);
  EXPECT_EQ(reader->GroupBox1->Height(), 462);
  EXPECT_EQ(reader->RichEdit1->Width(), 563);
  EXPECT_EQ(reader->RichEdit1->Height(), 438);
  EXPECT_EQ(reader->GroupBox1->Left(), 8);
  EXPECT_EQ(reader->GroupBox1->Top(), 0);
  EXPECT_EQ(reader->RichEdit1->Left(), 8);
  EXPECT_EQ(reader->RichEdit1->Top(), 16);
}

TEST_F(ToolWindowsTest, EmptyFilesAndShortLengthsShowWhatTheyHold) {
  WriteBook("yj.dat", "");
  Opened opened = OpenBook("易经");
  EXPECT_TRUE(opened.shown);
  EXPECT_GBK_EQ(opened.title, "易经");
  EXPECT_EQ(opened.text, "");
  // Only the first L bytes of the decoded text are shown.
  WriteBook("xc.dat", PackTextDeclaring("系辞上传第一章\r\n天尊地卑", 8));
  opened = OpenBook("系辞");
  EXPECT_GBK_EQ(opened.text, "系辞上传");
}

TEST_F(ToolWindowsTest, MissingBookTellsTheUserAndOpensNothing) {
  dialogs().AnswerMessage();
  if (!CategoryOpen("葵花宝典")) UserClickCategory(form->CategoryButtons1, "葵花宝典");
  Run("黄金策3");
  ASSERT_EQ(dialogs().Shown().size(), 1u);  // the message, and no reader
  EXPECT_GBK_EQ(dialogs().Messages()[0], "文件不存在:" + BookPath("hjc3.dat") + ",请先在线升级!");
  EXPECT_FALSE(reader->Visible());
}

TEST_F(ToolWindowsTest, HostileFilesGiveTheMessageAndNeverTheReader) {
  const std::string stream20 = PackText("twenty bytes of text").substr(4);
  const std::string good = PackText(std::string(3000, 'x') + "end");
  std::mt19937 rng(11);
  std::string random(500, '\0');
  for (char& c : random) c = static_cast<char>(rng());
  const std::string files[] = {
      LengthField(0x7FFFFFFF) + stream20,     // a length no stream of this size can hold
      good.substr(0, good.size() / 2),        // stream cut short
      random,                                 // random bytes
      "\x01",                                 // too short for the length
      "\x01\x02\x03",                         //
      LengthField(10) + "\x78\x9c" + "junk",  // damaged deflate data
  };
  if (!CategoryOpen("葵花宝典")) UserClickCategory(form->CategoryButtons1, "葵花宝典");
  for (const std::string& bytes : files) {
    WriteBook("yy1.dat", bytes);
    dialogs().Reset();
    dialogs().AnswerMessage();
    Run("易隐1");
    ASSERT_EQ(dialogs().Shown().size(), 1u);
    EXPECT_EQ(dialogs().Shown()[0].kind, ShownDialog::MessageBox);
    EXPECT_GBK_EQ(dialogs().Shown()[0].Text, "文件已损坏:" + BookPath("yy1.dat"));
    EXPECT_FALSE(reader->Visible());
    EXPECT_EQ(reader->RichEdit1->GetText(), "");
  }
}

TEST_F(ToolWindowsTest, ReopeningNeverShowsThePreviousBook) {
  WriteBook("yj.dat", PackText("乾为天"));
  WriteBook("xc.dat", PackText("坤为地"));
  EXPECT_GBK_EQ(OpenBook("易经").text, "乾为天");
  // The next book's text is in place before the reader shows, and a damaged book after a good
  // one shows nothing of the good one.
  std::string seenAtShow;
  reader->OnShow = [&](TComponent*) { seenAtShow = reader->RichEdit1->GetText(); };
  EXPECT_GBK_EQ(OpenBook("系辞").text, "坤为地");
  EXPECT_GBK_EQ(seenAtShow, "坤为地");
  WriteBook("yj.dat", "\x01\x02");
  dialogs().AnswerMessage();
  Run("易经");
  EXPECT_EQ(reader->RichEdit1->GetText(), "");
}

namespace {

// Turns a hang into a failure; never reached by a sound run.
constexpr int kWatchdogSeconds = 20;

// A book file that is a pipe: whoever opens it waits until the test has done `meanwhile` on the
// GUI thread and then written the book. So the test acts while the book is being opened, at a
// point it knows. A program that waited for the book on the GUI thread would never run
// `meanwhile`: a watchdog of tens of seconds then writes the book without it.
class BookThroughPipe {
 public:
  BookThroughPipe(const std::filesystem::path& path, std::string bytes,
                  std::function<void()> meanwhile)
      : path_(path) {
    EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0) << std::strerror(errno);
    feeder_ = std::thread([this, bytes = std::move(bytes), meanwhile = std::move(meanwhile)] {
      const int fd = OpenWhenRead();
      if (fd < 0) return;
      TSyncCancel giveUp;
      std::thread watchdog([&] {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!woken_.wait_for(lock, std::chrono::seconds(kWatchdogSeconds), [&] { return done_; }))
          giveUp.Cancel();
      });
      ran_ = RunOnGuiThread(meanwhile, giveUp);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        done_ = true;
      }
      woken_.notify_all();
      watchdog.join();
      for (size_t at = 0; at < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + at, bytes.size() - at);
        if (n <= 0) break;
        at += static_cast<size_t>(n);
      }
      ::close(fd);
    });
  }
  ~BookThroughPipe() {
    if (feeder_.joinable()) feeder_.join();
  }
  // Whether `meanwhile` ran while the book was being opened; call after the opening ended.
  bool RanMeanwhile() {
    feeder_.join();
    return ran_;
  }

 private:
  // The writing end opens only once someone reads (given up after the watchdog's time).
  int OpenWhenRead() {
    for (int i = 0; i < kWatchdogSeconds * 100; ++i) {
      const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
      if (fd >= 0) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        return fd;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ADD_FAILURE() << "nobody opened " << path_;
    return -1;
  }

  std::filesystem::path path_;
  std::thread feeder_;
  std::mutex mutex_;
  std::condition_variable woken_;
  bool done_ = false;
  bool ran_ = false;
};

// A book of more lines than the reader's box keeps one to a paragraph.
std::string LongBook(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i)
    text += "第" + std::to_string(i) + "条：世爻旺相，应爻休囚，动而化进。\r\n";
  return text;
}

}  // namespace

// A book is opened as work the windows wait for, painting, with the busy cursor up. Esc in the
// main window, or the wait window's button, calls it off: no reader shows, and the reader keeps
// the title and the text it had, nothing of the new book.
TEST_F(ToolWindowsTest, OpeningABookIsBusyWorkTheUserMayCallOff) {
  WriteBook("yj.dat", PackText("乾为天"));
  EXPECT_GBK_EQ(OpenBook("易经").text, "乾为天");
  dialogs().Reset();
  const std::string book = PackText(LongBook(1000));
  if (!CategoryOpen("葵花宝典")) UserClickCategory(form->CategoryButtons1, "葵花宝典");
  bool busy = false;
  std::string screenshot;
  {
    BookThroughPipe pipe(folder / "bd" / "xc.dat", book, [&] {
      busy = Busy();
      screenshot = SaveScreenshot(form.get(), "reader_opening");
      UserKey(form->RichEdit1, VK_ESCAPE);
    });
    Run("系辞");
    EXPECT_TRUE(pipe.RanMeanwhile());
  }
  EXPECT_TRUE(busy);
  EXPECT_NE(screenshot, "");
  EXPECT_TRUE(dialogs().Shown().empty());
  EXPECT_FALSE(reader->Visible());
  EXPECT_GBK_EQ(reader->GroupBox1->Caption(), "易经");
  EXPECT_EQ(reader->RichEdit1->GetText(), "");
  EXPECT_FALSE(Busy());

  // The wait window names the book; its button calls the opening off too.
  std::filesystem::remove(folder / "bd" / "xc.dat");
  std::string waitText;
  {
    BookThroughPipe pipe(folder / "bd" / "xc.dat", book, [&] {
      // It shows after a moment; the watchdog only turns a hang into a failure.
      WaitUntil(BusyWaitWindowShows);
      waitText = BusyWaitWindowText();
      SaveBusyWaitWindowScreenshot("reader_opening_wait");
      UserClickBusyWaitCancel();
    });
    Run("系辞");
    EXPECT_TRUE(pipe.RanMeanwhile());
  }
  EXPECT_GBK_EQ(waitText, "正在打开《系辞》,请稍候......");
  EXPECT_FALSE(reader->Visible());
  EXPECT_GBK_EQ(reader->GroupBox1->Caption(), "易经");
  // Not called off, the same book opens whole.
  std::filesystem::remove(folder / "bd" / "xc.dat");
  WriteBook("xc.dat", book);
  EXPECT_GBK_EQ(OpenBook("系辞").text, LongBook(1000));
}

// A book of more lines than the box keeps one to a paragraph reads back line for line; keys that
// scroll it and typing into it (the box is read-only) leave it as it is.
TEST_F(ToolWindowsTest, ALongBookShowsWholeAndScrollsWithoutChange) {
  const std::string text = LongBook(80000);
  WriteBook("yy1.dat", PackText(text));
  std::string shown;
  int lines = 0;
  dialogs().AnswerModal([&](TForm&) {
    shown = reader->RichEdit1->GetText();
    lines = reader->RichEdit1->LineCount();
    SaveScreenshot(reader.get(), "reader_long_book_top");
    for (const uint16_t key : {VK_NEXT, VK_NEXT, VK_DOWN}) UserKey(reader->RichEdit1, key);
    SaveScreenshot(reader.get(), "reader_long_book_paged");
    UserKey(reader->RichEdit1, VK_END, ssCtrl);
    UserType(reader->RichEdit1, "改");
    SaveScreenshot(reader.get(), "reader_long_book_end");
    EXPECT_TRUE(reader->RichEdit1->GetText() == text);
    UserCloseWindow(reader.get());
  });
  if (!CategoryOpen("葵花宝典")) UserClickCategory(form->CategoryButtons1, "葵花宝典");
  Run("易隐1");
  EXPECT_EQ(lines, 80000);
  EXPECT_TRUE(shown == text) << shown.size() << " bytes shown of " << text.size();
  EXPECT_EQ(reader->RichEdit1->GetText(), "");
}

// The tool packs a GBK text file of our own into a book file; the reader shows it as written.
TEST_F(ToolWindowsTest, PackedSampleShowsInTheReader) {
  const std::filesystem::path sample =
      std::filesystem::path(ZELKAR_SOURCE_DIR) / "tests/workbench/data/zelkar_sample_book.txt";
  const std::string command = std::string("\"") + PACKTEXT_TOOL + "\" \"" + sample.string() +
                              "\" \"" + (folder / "bd" / "lyrm.dat").string() + "\" >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const std::string text = Bytes(sample);
  ASSERT_GT(text.size(), 100u);
  std::string screenshot;
  dialogs().AnswerModal([&](TForm&) {
    EXPECT_GBK_EQ(reader->RichEdit1->GetText(), text);
    EXPECT_GBK_EQ(reader->GroupBox1->Caption(), "六爻入门");
    screenshot = SaveScreenshot(reader.get(), "reader_sample_book");
  });
  if (!CategoryOpen("葵花宝典")) UserClickCategory(form->CategoryButtons1, "葵花宝典");
  Run("六爻入门");
  EXPECT_FALSE(screenshot.empty());
  // The tool refuses a missing input and leaves no book behind.
  const std::string bad = std::string("\"") + PACKTEXT_TOOL + "\" /no/such/file \"" +
                          (folder / "bd" / "x.dat").string() + "\" 2>/dev/null";
  EXPECT_NE(std::system(bad.c_str()), 0);
  EXPECT_FALSE(std::filesystem::exists(folder / "bd" / "x.dat"));
}

namespace {

// Runs the packer; its exit status, what it wrote to standard error and standard output (UTF-8).
struct Packed {
  int status;
  std::string errors;
  std::string output;
};
std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
// `shell` runs before the packer, in the same shell (to set its limits).
Packed RunPacker(const std::filesystem::path& source, const std::filesystem::path& target,
                 const std::filesystem::path& errorsFile, const std::string& options = "",
                 const std::string& shell = "") {
  const std::filesystem::path outputFile = errorsFile.string() + ".out";
  const std::string command = shell + "\"" + PACKTEXT_TOOL + "\" " + options + " \"" +
                              source.string() + "\" \"" + target.string() + "\" 2>\"" +
                              errorsFile.string() + "\" >\"" + outputFile.string() + "\"";
  const int status = std::system(command.c_str());
  return {status, FileText(errorsFile), FileText(outputFile)};
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The names in a folder, hidden ones too, sorted and joined by spaces.
std::string Listing(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  std::string listing;
  for (const std::string& name : names) listing += (listing.empty() ? "" : " ") + name;
  return listing;
}

bool IsPlainFile(const std::filesystem::path& path) {
  return std::filesystem::is_regular_file(std::filesystem::symlink_status(path));
}

// One run of the packer, output dropped: its exit status and its own peak resident memory.
struct Peak {
  int status = -1;
  long kib = 0;
};
Peak PackerPeak(const std::filesystem::path& source, const std::filesystem::path& target) {
  std::string tool = PACKTEXT_TOOL, from = source.string(), to = target.string();
  char* argv[] = {tool.data(), from.data(), to.data(), nullptr};
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  Peak peak;
  pid_t pid = 0;
  if (posix_spawn(&pid, tool.c_str(), &quiet, nullptr, argv, environ) == 0) {
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status)) {
      peak.status = WEXITSTATUS(status);
      peak.kib = usage.ru_maxrss;
    }
  }
  posix_spawn_file_actions_destroy(&quiet);
  return peak;
}

// A GBK text of random characters of GB2312's first level, which hardly compresses.
std::string RandomHanzi(int count) {
  std::mt19937 rng(5);
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += static_cast<char>(0xB0 + rng() % 0x27);
    text += static_cast<char>(0xA1 + rng() % 0x5E);
  }
  return text;
}

}  // namespace

// A UTF-8 text is packed as GBK, into a folder the packer makes; a character GBK has no code
// for is refused with its line, and every failure says why.
TEST_F(ToolWindowsTest, PackerTakesUtf8TextAsGbkAndSaysWhyItFails) {
  const std::string gbk = "第一章 乾为天\r\n元亨利贞。\r\n";
  const std::filesystem::path utf8File = folder / "book-utf8.txt";
  WriteBytes(utf8File, GbkToUtf8(gbk));
  const std::filesystem::path errors = folder / "errors.txt";
  Packed run = RunPacker(utf8File, folder / "bd" / "new" / "yj.dat", errors);
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(Bytes(folder / "bd" / "new" / "yj.dat"), PackText(gbk));
  // The same with a byte-order mark; and a GBK text stays as it is.
  WriteBytes(utf8File, "\xEF\xBB\xBF" + GbkToUtf8(gbk));
  ASSERT_EQ(RunPacker(utf8File, folder / "bd" / "yj.dat", errors).status, 0);
  EXPECT_GBK_EQ(OpenBook("易经").text, gbk);
  WriteBytes(folder / "book-gbk.txt", gbk);
  ASSERT_EQ(RunPacker(folder / "book-gbk.txt", folder / "bd" / "yj.dat", errors).status, 0);
  EXPECT_GBK_EQ(OpenBook("易经").text, gbk);

  // An emoji on the third line: refused, nothing written.
  WriteBytes(utf8File, "a\r\nb\r\n\xE4\xB9\xBE\xF0\x9F\x98\x80\r\n");
  run = RunPacker(utf8File, folder / "bd" / "x.dat", errors);
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.errors.find(GbkToUtf8("第3行第2个字符「") + "\xF0\x9F\x98\x80"), std::string::npos)
      << run.errors;
  EXPECT_FALSE(std::filesystem::exists(folder / "bd" / "x.dat"));
  // A folder that cannot be made (a file stands in its place) and a missing input name the
  // path and the system's reason.
  WriteBytes(folder / "plain-file", "x");
  run = RunPacker(folder / "book-gbk.txt", folder / "plain-file" / "x.dat", errors);
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.errors.find(GbkToUtf8("无法创建文件夹「") + (folder / "plain-file").string() +
                            GbkToUtf8("」: ") + std::strerror(ENOTDIR)),
            std::string::npos)
      << run.errors;
  run = RunPacker(folder / "no-such.txt", folder / "bd" / "y.dat", errors);
  EXPECT_NE(run.errors.find(GbkToUtf8("无法读取文件「") + (folder / "no-such.txt").string() +
                            GbkToUtf8("」: ") + std::strerror(ENOENT)),
            std::string::npos)
      << run.errors;
}

// The packer says which encoding it read, lets the user settle a text that is GBK and UTF-8
// alike, and names the book the user gave when it cannot be written.
TEST_F(ToolWindowsTest, PackerSaysWhatItReadAndNamesTheBookItCannotWrite) {
  const std::filesystem::path errors = folder / "errors.txt";
  // "邪斜" in GBK reads as the UTF-8 of "аб".
  WriteBytes(folder / "both.txt", "\xD0\xB0\xD0\xB1");
  Packed run = RunPacker(folder / "both.txt", folder / "bd" / "yj.dat", errors);
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_NE(run.output.find(GbkToUtf8("按 UTF-8 读入")), std::string::npos) << run.output;
  run = RunPacker(folder / "both.txt", folder / "bd" / "yj.dat", errors, "--encoding gbk");
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_NE(run.output.find(GbkToUtf8("按 GBK 读入")), std::string::npos) << run.output;
  EXPECT_GBK_EQ(OpenBook("易经").text, "邪斜");
  run = RunPacker(folder / "both.txt", folder / "bd" / "yj.dat", errors, "--encoding latin1");
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.errors.find(GbkToUtf8("不认识的编码「latin1」")), std::string::npos) << run.errors;

  // A UTF-16 file is converted; "€" is written as GB18030 writes it (A2 E3), which the reader
  // shows as "€" (GBK's byte 0x80 it would show as U+FFFD); an emoji on the third of three lines
  // ended by CR alone is refused with its line.
  WriteBytes(folder / "utf16.txt", std::string("\xFF\xFE\x58\x5B\x0D\x00\x0A\x00", 8));
  run = RunPacker(folder / "utf16.txt", folder / "bd" / "yj.dat", errors);
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_NE(run.output.find("UTF-16LE"), std::string::npos) << run.output;
  EXPECT_GBK_EQ(OpenBook("易经").text, "存\r\n");
  WriteBytes(folder / "euro.txt", "a\rb\r\xE2\x82\xAC\r");
  run = RunPacker(folder / "euro.txt", folder / "bd" / "yj.dat", errors);
  ASSERT_EQ(run.status, 0) << run.errors;
  std::string screenshot;
  dialogs().AnswerModal([&](TForm&) {
    // What the reader's box holds (its lines end in CR LF), read back through GB18030: "€" and
    // nothing else is A2 E3.
    EXPECT_EQ(reader->RichEdit1->GetText(), "a\r\nb\r\n\xA2\xE3\r\n");
    screenshot = SaveScreenshot(reader.get(), "reader_euro_book");
    UserCloseWindow(reader.get());
  });
  Run("易经");
  EXPECT_FALSE(screenshot.empty());
  WriteBytes(folder / "emoji.txt", "a\rb\r\xF0\x9F\x98\x80\r");
  run = RunPacker(folder / "emoji.txt", folder / "bd" / "e.dat", errors);
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.errors.find(GbkToUtf8("第3行第1个字符「") + "\xF0\x9F\x98\x80"), std::string::npos)
      << run.errors;
  EXPECT_FALSE(std::filesystem::exists(folder / "bd" / "e.dat"));

  // A folder where the book goes, standing there or named as one, is said to be a folder and
  // is left as it is, with no file of the packer's beside it. A folder named as a temporary
  // file might be is no obstacle.
  std::filesystem::create_directories(folder / "bd" / "z.dat");
  std::filesystem::create_directories(folder / "bd" / "y.dat.tmp");
  for (const std::string& book : {(folder / "bd" / "z.dat").string(),
                                  (folder / "bd").string() + "/", (folder / "bd" / ".").string()}) {
    run = RunPacker(folder / "both.txt", book, errors);
    EXPECT_NE(run.status, 0) << book;
    EXPECT_NE(run.errors.find(GbkToUtf8("「") + book + GbkToUtf8("」是文件夹")), std::string::npos)
        << run.errors;
  }
  EXPECT_TRUE(std::filesystem::is_directory(folder / "bd" / "z.dat"));
  EXPECT_TRUE(std::filesystem::is_empty(folder / "bd" / "z.dat"));
  EXPECT_EQ(Listing(folder / "bd"), "y.dat.tmp yj.dat z.dat");
  ASSERT_EQ(RunPacker(folder / "both.txt", folder / "bd" / "y.dat", errors).status, 0);
  EXPECT_TRUE(std::filesystem::is_empty(folder / "bd" / "y.dat.tmp"));
  EXPECT_EQ(DecodePackedText(Bytes(folder / "bd" / "y.dat")).Text, Utf8ToGbk("\xD0\xB0\xD0\xB1"));
}

// The packer writes the book into a file it made itself, new, and renames that over the book: a
// user's file or link that has a name a temporary file might have is neither written, followed
// nor removed; a book that is a link is replaced, not what it points at; and a write that fails
// leaves the old book and nothing of the packer's.
TEST_F(ToolWindowsTest, PackerWritesOnlyIntoAFileItMadeItself) {
  const std::filesystem::path bd = folder / "bd";
  const std::filesystem::path errors = folder / "errors.txt";
  const std::string gbk = "乾为天\r\n";
  WriteBytes(folder / "book.txt", gbk);
  WriteBytes(bd / "book.dat.tmp", "my notes");
  WriteBytes(folder / "victim.txt", "victim");
  std::filesystem::create_symlink(folder / "victim.txt", bd / "book2.dat.tmp");
  std::filesystem::create_symlink("/dev/full", bd / "book3.dat.tmp");
  WriteBytes(folder / "victim4.txt", "victim 4");
  std::filesystem::create_symlink(folder / "victim4.txt", bd / "book4.dat");
  for (const char* book : {"book.dat", "book2.dat", "book3.dat", "book4.dat"}) {
    const Packed run = RunPacker(folder / "book.txt", bd / book, errors);
    EXPECT_EQ(run.status, 0) << book << ": " << run.errors;
    EXPECT_TRUE(IsPlainFile(bd / book)) << book;
    EXPECT_EQ(Bytes(bd / book), PackText(gbk)) << book;
  }
  EXPECT_EQ(Bytes(bd / "book.dat.tmp"), "my notes");
  EXPECT_EQ(std::filesystem::read_symlink(bd / "book2.dat.tmp"), folder / "victim.txt");
  EXPECT_EQ(std::filesystem::read_symlink(bd / "book3.dat.tmp"), "/dev/full");
  EXPECT_EQ(Bytes(folder / "victim.txt"), "victim");
  EXPECT_EQ(Bytes(folder / "victim4.txt"), "victim 4");
  EXPECT_EQ(Listing(bd),
            "book.dat book.dat.tmp book2.dat book2.dat.tmp book3.dat book3.dat.tmp "
            "book4.dat");
  // A new file's mode, as any program's: 0666 less the umask.
  const mode_t umask = ::umask(022);
  ::umask(umask);
  struct stat made {};
  ASSERT_EQ(::stat((bd / "book.dat").c_str(), &made), 0);
  EXPECT_EQ(made.st_mode & 07777, 0666 & ~umask);

  // The file-size limit (a few blocks) stops the write of a book that hardly compresses.
  WriteBytes(folder / "big.txt", RandomHanzi(30000));
  const Packed run =
      RunPacker(folder / "big.txt", bd / "book.dat", errors, "", "trap '' XFSZ; ulimit -f 8; ");
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.errors.find(GbkToUtf8("无法写入文件「") + (bd / "book.dat").string() +
                            GbkToUtf8("」: ") + std::strerror(EFBIG)),
            std::string::npos)
      << run.errors;
  EXPECT_EQ(Bytes(bd / "book.dat"), PackText(gbk));
  EXPECT_EQ(Listing(bd),
            "book.dat book.dat.tmp book2.dat book2.dat.tmp book3.dat book3.dat.tmp "
            "book4.dat");
  ASSERT_EQ(RunPacker(folder / "big.txt", bd / "book.dat", errors).status, 0);
  EXPECT_EQ(DecodePackedText(Bytes(bd / "book.dat")).Text, RandomHanzi(30000));
}

// The reader opens no text over kPackedTextMaxLength bytes: a longer one is refused before
// anything is written, naming the limit, and the old book stays; one at the limit is packed and
// decodes. A file longer than any text that fits is refused without being read.
TEST_F(ToolWindowsTest, PackerRefusesATextTheReaderWouldNotOpen) {
  const std::filesystem::path errors = folder / "errors.txt";
  const std::filesystem::path longText = folder / "long.txt";
  WriteBook("yy1.dat", PackText("good book"));
  std::string text(kPackedTextMaxLength + 1, 'a');
  WriteBytes(longText, text);
  Packed run = RunPacker(longText, folder / "bd" / "yy1.dat", errors);
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.errors.find(GbkToUtf8("超过 67108864 字节 (64 MiB)，阅读器打不开这么长的书")),
            std::string::npos)
      << run.errors;
  EXPECT_GBK_EQ(OpenBook("易隐1").text, "good book");
  EXPECT_EQ(Listing(folder / "bd"), "yy1.dat");
  text.pop_back();
  WriteBytes(longText, text);
  run = RunPacker(longText, folder / "bd" / "yy1.dat", errors);
  ASSERT_EQ(run.status, 0) << run.errors;
  const PackedText read = DecodePackedText(Bytes(folder / "bd" / "yy1.dat"));
  EXPECT_EQ(read.Error, PackedTextError::None);
  EXPECT_EQ(read.Text.size(), kPackedTextMaxLength);
  text = std::string();
  // A sparse file: nothing of it is read.
  std::filesystem::resize_file(longText, kTextFileMaxBytes + 1);
  WriteBook("yy1.dat", PackText("good book"));
  run = RunPacker(longText, folder / "bd" / "yy1.dat", errors);
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.errors.find(GbkToUtf8("」超过 268435460 字节")), std::string::npos) << run.errors;
  EXPECT_TRUE(Bytes(folder / "bd" / "yy1.dat") == PackText("good book")) << "the old book changed";
}

// Finding the line of a refused character lists no lines: refusing a file of blank lines that
// ends in a character GBK lacks, or in a byte that is no GBK, peaks no higher than packing a
// file of the same size.
TEST_F(ToolWindowsTest, RefusingAFileCostsNoMoreMemoryThanPackingIt) {
  const std::filesystem::path bd = folder / "bd";
  const std::string blank(16 << 20, '\n');
  WriteBytes(folder / "packed.txt", blank + "abcd");
  WriteBytes(folder / "emoji.txt", blank + "\xF0\x9F\x98\x80");
  WriteBytes(folder / "gbk.txt", blank + "abc\x80");
  const Peak packed = PackerPeak(folder / "packed.txt", bd / "p.dat");
  ASSERT_EQ(packed.status, 0);
  for (const char* refused : {"emoji.txt", "gbk.txt"}) {
    const Peak peak = PackerPeak(folder / refused, bd / "r.dat");
    EXPECT_EQ(peak.status, 1) << refused;
    // A megabyte to spare for what the system counts differently from run to run.
    EXPECT_LE(peak.kib, packed.kib + 1024) << refused << " against " << packed.kib << " KiB";
  }
  EXPECT_FALSE(std::filesystem::exists(bd / "r.dat"));
}
