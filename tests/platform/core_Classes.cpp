#include <gtest/gtest.h>

#include <limits>

#include <functional>

#include "core_TempFolder.h"
#include "platform/Classes.h"
#include "platform/Exceptions.h"
#include "platform/Files.h"
#include "platform/GbkText.h"

namespace {

std::string U(const std::string& gbk) { return GbkToUtf8(gbk); }

std::vector<std::string> Lines(const TStringList& list) { return list.Items(); }

std::string ListErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EListError& e) {
    return e.Message();
  }
  return "no error";
}

TEST(StringList, TextSplitsAtCrLfLfAndLoneCr) {
  TStringList list;
  list.SetText("a\r\nb\nc\rd");
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "b", "c", "d"}));
  list.SetText("a\r\n");
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"a"}));
  list.SetText("\r\n\r\n");
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"", ""}));
  list.SetText("\n\r");  // LF, then a lone CR
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"", ""}));
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
  list.SetText("▅▅\r\n乾");
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(U(list[0]), U("▅▅"));
  EXPECT_EQ(U(list.Text()), U("▅▅\r\n乾\r\n"));
}

TEST(StringList, IndexErrors) {
  TStringList list;
  list.Add("a");
  EXPECT_EQ(ListErrorOf([&] { (void)list[1]; }), "List index out of bounds (1)");
  EXPECT_EQ(ListErrorOf([&] { list.Delete(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(ListErrorOf([&] { list.Insert(2, "x"); }), "List index out of bounds (2)");
  EXPECT_EQ(ListErrorOf([&] { list.SetStrings(5, "x"); }), "List index out of bounds (5)");
  const TStringList& constList = list;
  EXPECT_THROW(constList.Strings(-1), EListError);
  list.Insert(1, "b");
  list.Insert(0, "c");
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"c", "a", "b"}));
  list.Delete(1);
  list.SetStrings(0, "z");
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"z", "b"}));
}

TEST(StringList, SortedListsAndSearch) {
  TStringList list;
  list.Sorted = true;
  for (const char* s : {"http://b", "HTTP://A", "http://c", "http://a"}) list.Add(s);
  EXPECT_EQ(Lines(list),
            (std::vector<std::string>{"HTTP://A", "http://a", "http://b", "http://c"}));
  EXPECT_EQ(list.Add("http://bb"), 3);
  EXPECT_THROW(list.Insert(0, "x"), EListError);
  EXPECT_EQ(list.IndexOf("HTTP://C"), 4);
  list.CaseSensitive = true;
  EXPECT_EQ(list.IndexOf("HTTP://C"), -1);
  EXPECT_EQ(list.IndexOf("http://a"), 1);

  TStringList plain;
  plain.SetText("b\r\nB\r\na");
  plain.Sort();
  EXPECT_EQ(Lines(plain), (std::vector<std::string>{"a", "b", "B"}));  // stable for equal texts
  TStringList copy;
  copy.Assign(plain);
  EXPECT_EQ(Lines(copy), Lines(plain));
}

TEST(StringList, NameValueLines) {
  TStringList list;
  list.SetText("U12=http://x.com/?a=b\r\nplain\r\n=empty name");
  EXPECT_EQ(list.Names(0), "U12");
  EXPECT_EQ(list.ValueFromIndex(0), "http://x.com/?a=b");
  EXPECT_EQ(list.Names(1), "");
  EXPECT_EQ(list.ValueFromIndex(1), "");
  EXPECT_EQ(list.Values("u12"), "http://x.com/?a=b");
  EXPECT_EQ(list.Values("plain"), "");
  EXPECT_EQ(list.IndexOfName(""), 2);
  list.SetValues("U12", "v");
  EXPECT_EQ(list[0], "U12=v");
  list.SetValues("U13", "w");
  EXPECT_EQ(list[3], "U13=w");
  list.SetValues("u12", "");  // an empty value removes the line
  EXPECT_EQ(list.IndexOfName("U12"), -1);
  EXPECT_EQ(list.Count(), 3);
}

TEST(StringList, FilesAndStreams) {
  TempFolder dir;
  TStringList list;
  list.SetText("第一行\n第二行");
  list.SaveToFile(dir / "r.txt");
  EXPECT_EQ(U(ReadWholeFile(dir / "r.txt")), U("第一行\r\n第二行\r\n"));
  TStringList loaded;
  loaded.LoadFromFile(dir / "r.txt");
  EXPECT_EQ(Lines(loaded), Lines(list));
  EXPECT_THROW(loaded.LoadFromFile(dir / "none"), EFOpenError);
  EXPECT_THROW(list.SaveToFile(dir / "none/r.txt"), EFCreateError);

  TMemoryStream stream;
  stream.WriteByte('x');
  list.SaveToStream(stream);
  stream.SetPosition(1);
  TStringList fromStream;
  fromStream.LoadFromStream(stream);
  EXPECT_EQ(Lines(fromStream), Lines(list));
  EXPECT_EQ(stream.Remaining(), 0);
}

TEST(MemoryStream, ReadWriteSeek) {
  TMemoryStream stream;
  stream.WriteDWordLE(0x04030201);
  stream.WriteWordLE(0x0605);
  EXPECT_EQ(stream.Bytes(), std::string("\x01\x02\x03\x04\x05\x06", 6));
  EXPECT_EQ(stream.Position(), 6);
  stream.SetPosition(0);
  EXPECT_EQ(stream.ReadByte(), 1);
  EXPECT_EQ(stream.ReadWordLE(), 0x0302);
  EXPECT_EQ(stream.Seek(-1, TSeekOrigin::soEnd), 5);
  EXPECT_EQ(stream.ReadByte(), 6);
  // Writing after a seek past the end fills the gap with zeros.
  stream.Seek(2, TSeekOrigin::soEnd);
  stream.WriteByte(9);
  EXPECT_EQ(stream.Bytes(), std::string("\x01\x02\x03\x04\x05\x06\x00\x00\x09", 9));
  stream.SetSize(3);
  EXPECT_EQ(stream.Position(), 3);
  EXPECT_EQ(stream.Size(), 3);
  EXPECT_THROW(stream.Seek(-4, TSeekOrigin::soCurrent), EStreamError);
  EXPECT_EQ(stream.Position(), 3);
}

TEST(MemoryStream, SeeksAndWritesThatWouldOverflowAreRefused) {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  TMemoryStream stream;
  stream.WriteBuffer("abc", 3);
  EXPECT_THROW(stream.Seek(kMax, TSeekOrigin::soEnd), EStreamError);
  EXPECT_THROW(stream.Seek(std::numeric_limits<int64_t>::min(), TSeekOrigin::soEnd), EStreamError);
  EXPECT_EQ(stream.Position(), 3);
  stream.Seek(kMax, TSeekOrigin::soBeginning);
  EXPECT_THROW(stream.Seek(1, TSeekOrigin::soCurrent), EStreamError);
  // Far past the end: nothing can be held there, and nothing changes.
  EXPECT_THROW(stream.WriteByte(1), EWriteError);
  stream.Seek(TMemoryStream::kMaxBytes, TSeekOrigin::soBeginning);
  EXPECT_THROW(stream.WriteByte(1), EWriteError);
  stream.Seek(kMax / 2, TSeekOrigin::soBeginning);
  EXPECT_THROW(stream.WriteByte(1), EWriteError);
  EXPECT_THROW(stream.SetSize(TMemoryStream::kMaxBytes + 1), EStreamError);
  EXPECT_EQ(stream.Bytes(), "abc");
  uint8_t b;
  EXPECT_EQ(stream.Read(&b, 1), 0);
}

TEST(MemoryStream, ShortReadsRaise) {
  TMemoryStream stream(std::string("\x01\x02\x03", 3));
  try {
    stream.ReadDWordLE();
    ADD_FAILURE() << "read four bytes out of three";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Stream read error");
  }
  stream.SetPosition(3);
  EXPECT_THROW(stream.ReadByte(), EReadError);
  char buffer[4];
  stream.SetPosition(10);
  EXPECT_EQ(stream.Read(buffer, 4), 0);
  EXPECT_THROW(stream.ReadBuffer(buffer, -1), EReadError);
  EXPECT_NO_THROW(stream.ReadBuffer(buffer, 0));
}

TEST(MemoryStream, CopyFrom) {
  TMemoryStream source(std::string("abcdef"));
  source.SetPosition(4);
  TMemoryStream target;
  EXPECT_EQ(target.CopyFrom(source, 0), 6);  // 0: everything, from the start
  EXPECT_EQ(target.Bytes(), "abcdef");
  source.SetPosition(2);
  EXPECT_EQ(target.CopyFrom(source, 3), 3);
  EXPECT_EQ(target.Bytes(), "abcdefcde");
  EXPECT_THROW(target.CopyFrom(source, 5), EReadError);  // only one byte left
}

TEST(FileStream, CreateReadUpdate) {
  TempFolder dir;
  const std::string path = dir / "卦.dat";
  {
    TFileStream out(path, fmCreate);
    out.WriteDWordLE(5);
    out.WriteBuffer("hello", 5);
  }
  {
    TFileStream in(path, fmOpenRead);
    EXPECT_EQ(in.Size(), 9);
    EXPECT_EQ(in.ReadDWordLE(), 5u);
    char text[6] = {};
    in.ReadBuffer(text, 5);
    EXPECT_STREQ(text, "hello");
    EXPECT_THROW(in.ReadByte(), EReadError);
    EXPECT_THROW(in.WriteByte(1), EWriteError);  // opened for reading only
  }
  {
    TFileStream update(path, fmOpenReadWrite);
    update.SetPosition(4);
    update.WriteByte('j');
    update.SetSize(6);
    EXPECT_EQ(update.Position(), 5);
    EXPECT_EQ(update.Size(), 6);
  }
  EXPECT_EQ(ReadWholeFile(path), std::string("\x05\x00\x00\x00je", 6));
}

TEST(FileStream, OpenFailures) {
  TempFolder dir;
  try {
    TFileStream in(dir / "none", fmOpenRead);
    ADD_FAILURE() << "opened a missing file";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "无法打开文件「" + dir / "none" + "」");
  }
  try {
    TFileStream out(dir / "none/x", fmCreate);
    ADD_FAILURE() << "created a file in a missing folder";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), "无法创建文件「" + dir / "none/x" + "」");
  }
  EXPECT_THROW(TFileStream(dir.Path(), fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream(dir / "none", fmOpenReadWrite), EFOpenError);
}

TEST(MemoryStream, Files) {
  TempFolder dir;
  TMemoryStream stream(std::string("\x00\x01zz", 4));
  stream.SaveToFile(dir / "m.bin");
  TMemoryStream loaded;
  loaded.WriteByte(7);
  loaded.LoadFromFile(dir / "m.bin");
  EXPECT_EQ(loaded.Bytes(), stream.Bytes());
  EXPECT_EQ(loaded.Position(), 0);
  EXPECT_THROW(loaded.LoadFromFile(dir / "none"), EFOpenError);
}

}  // namespace
