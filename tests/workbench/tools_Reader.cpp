// The book commands and the reader: every command opens its own file under its own title, a
// missing, damaged or lying file tells the user and opens nothing, and the reader never shows
// a book it showed before.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <random>
#include <thread>

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
Packed RunPacker(const std::filesystem::path& source, const std::filesystem::path& target,
                 const std::filesystem::path& errorsFile, const std::string& options = "") {
  const std::filesystem::path outputFile = errorsFile.string() + ".out";
  const std::string command = std::string("\"") + PACKTEXT_TOOL + "\" " + options + " \"" +
                              source.string() + "\" \"" + target.string() + "\" 2>\"" +
                              errorsFile.string() + "\" >\"" + outputFile.string() + "\"";
  const int status = std::system(command.c_str());
  return {status, FileText(errorsFile), FileText(outputFile)};
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
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
  EXPECT_NE(run.errors.find(GbkToUtf8("第3行的字符「") + "\xF0\x9F\x98\x80"), std::string::npos)
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

  // A UTF-16 file is converted; "€" on the third of three lines ended by CR alone is refused with
  // its line, where glibc's GBK would have written a byte the reader shows as U+FFFD.
  WriteBytes(folder / "utf16.txt", std::string("\xFF\xFE\x58\x5B\x0D\x00\x0A\x00", 8));
  run = RunPacker(folder / "utf16.txt", folder / "bd" / "yj.dat", errors);
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_NE(run.output.find("UTF-16LE"), std::string::npos) << run.output;
  EXPECT_GBK_EQ(OpenBook("易经").text, "存\r\n");
  WriteBytes(folder / "euro.txt", "a\rb\r\xE2\x82\xAC\r");
  run = RunPacker(folder / "euro.txt", folder / "bd" / "e.dat", errors);
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.errors.find(GbkToUtf8("第3行的字符「") + "\xE2\x82\xAC"), std::string::npos)
      << run.errors;
  EXPECT_FALSE(std::filesystem::exists(folder / "bd" / "e.dat"));

  // A book that cannot be written (here a folder stands where the packer writes it first; a
  // folder it may not write to fails the same way): the error names the book the user gave.
  std::filesystem::create_directories(folder / "bd" / "z.dat.tmp");
  run = RunPacker(folder / "both.txt", folder / "bd" / "z.dat", errors);
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.errors.find(GbkToUtf8("无法写入文件「") + (folder / "bd" / "z.dat").string() +
                            GbkToUtf8("」: ") + std::strerror(EISDIR)),
            std::string::npos)
      << run.errors;
  EXPECT_EQ(run.errors.find(".tmp"), std::string::npos) << run.errors;
  EXPECT_FALSE(std::filesystem::exists(folder / "bd" / "z.dat"));
  EXPECT_TRUE(std::filesystem::is_directory(folder / "bd" / "z.dat.tmp"));
}
