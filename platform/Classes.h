// String lists and streams as the windows use them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TStream;

// An ordered list of GBK texts. Text joins with CR LF (each line ended by it); setting Text
// splits at CR LF, LF or a lone CR. Index errors raise EListError
// "List index out of bounds (<i>)".
class TStringList {
public:
  TStringList() = default;
  virtual ~TStringList() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& operator[](int index) const;
  std::string& operator[](int index);
  const std::string& Strings(int index) const { return (*this)[index]; }
  void SetStrings(int index, const std::string& value);

  int Add(const std::string& value);
  void Insert(int index, const std::string& value);
  void Delete(int index);
  void Clear();
  void Assign(const TStringList& other);
  // Exact (byte-equal) search; -1 when absent. With CaseSensitive off, ASCII case is ignored.
  int IndexOf(const std::string& value) const;

  std::string Text() const;
  void SetText(const std::string& text);
  // name=value lines
  std::string Names(int index) const;
  std::string ValueFromIndex(int index) const;
  std::string Values(const std::string& name) const;
  void SetValues(const std::string& name, const std::string& value);
  int IndexOfName(const std::string& name) const;

  // Keeps the list sorted on Add when set (ASCII case-insensitive unless CaseSensitive); Insert
  // then raises EListError "Operation not allowed on sorted list".
  bool Sorted = false;
  bool CaseSensitive = false;
  void Sort();

  void LoadFromFile(const std::string& path);  // raises EFOpenError
  void SaveToFile(const std::string& path) const;  // atomic; raises EFCreateError
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;

  const std::vector<std::string>& Items() const { return items_; }

private:
  std::vector<std::string> items_;
};

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
  virtual ~TStream() = default;
  // Reads up to count bytes, returns how many were read.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t size);
  int64_t Remaining() { return Size() - Position(); }

  // Raise EReadError "Stream read error" / EWriteError "Stream write error" when short.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  // Copies count bytes from source (all of it from its start when count is 0).
  int64_t CopyFrom(TStream& source, int64_t count);

  uint8_t ReadByte();
  uint16_t ReadWordLE();
  uint32_t ReadDWordLE();
  void WriteByte(uint8_t value);
  void WriteWordLE(uint16_t value);
  void WriteDWordLE(uint32_t value);
};

// A write that would make the stream larger than kMaxBytes is a short write (WriteBuffer raises
// EWriteError): more than any file the program handles, and a seek far past the end followed by
// a write cannot ask for an absurd block.
class TMemoryStream : public TStream {
public:
  static constexpr int64_t kMaxBytes = 4LL << 30;
  TMemoryStream() = default;
  explicit TMemoryStream(std::string bytes) : data_(std::move(bytes)) {}
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }
  void SetSize(int64_t size) override;
  void Clear() { data_.clear(); position_ = 0; }

  const std::string& Bytes() const { return data_; }
  const uint8_t* Memory() const { return reinterpret_cast<const uint8_t*>(data_.data()); }
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;

private:
  std::string data_;
  int64_t position_ = 0;
};

// Creation modes: fmCreate truncates or creates; fmOpenRead reads an existing file;
// fmOpenReadWrite updates one. Open failures raise EFOpenError "无法打开文件「<path>」" and
// EFCreateError "无法创建文件「<path>」".
enum TFileMode : unsigned { fmOpenRead = 0, fmOpenWrite = 1, fmOpenReadWrite = 2, fmCreate = 0xFF00 };

class TFileStream : public TStream {
public:
  TFileStream(const std::string& path, unsigned mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;

private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
