// String lists and streams.
#include "platform/Classes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/Exceptions.h"
#include "platform/Files.h"
#include "platform/GbkText.h"

// ---- TStringList ----

namespace {

[[noreturn]] void RaiseIndex(int index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

int CompareIgnoringCase(const std::string& a, const std::string& b) {
  return LowerCase(a).compare(LowerCase(b));
}

}  // namespace

const std::string& TStringList::operator[](int index) const {
  if (index < 0 || index >= Count()) RaiseIndex(index);
  return items_[static_cast<size_t>(index)];
}

std::string& TStringList::operator[](int index) {
  if (index < 0 || index >= Count()) RaiseIndex(index);
  return items_[static_cast<size_t>(index)];
}

void TStringList::SetStrings(int index, const std::string& value) { (*this)[index] = value; }

int TStringList::Add(const std::string& value) {
  if (!Sorted) {
    items_.push_back(value);
    return Count() - 1;
  }
  // After the last equal item, so equal texts keep the order they were added in.
  auto at = std::upper_bound(items_.begin(), items_.end(), value,
                             [this](const std::string& a, const std::string& b) {
                               return CaseSensitive ? a < b : CompareIgnoringCase(a, b) < 0;
                             });
  int index = static_cast<int>(at - items_.begin());
  items_.insert(at, value);
  return index;
}

void TStringList::Insert(int index, const std::string& value) {
  if (Sorted) throw EListError("Operation not allowed on sorted list");
  if (index < 0 || index > Count()) RaiseIndex(index);
  items_.insert(items_.begin() + index, value);
}

void TStringList::Delete(int index) {
  if (index < 0 || index >= Count()) RaiseIndex(index);
  items_.erase(items_.begin() + index);
}

void TStringList::Clear() { items_.clear(); }

void TStringList::Assign(const TStringList& other) {
  if (&other == this) return;
  items_ = other.items_;
  if (Sorted) Sort();
}

int TStringList::IndexOf(const std::string& value) const {
  for (int i = 0; i < Count(); ++i) {
    const std::string& item = items_[static_cast<size_t>(i)];
    if (CaseSensitive ? item == value : SameText(item, value)) return i;
  }
  return -1;
}

std::string TStringList::Text() const {
  std::string text;
  for (const std::string& item : items_) {
    text += item;
    text += "\r\n";
  }
  return text;
}

void TStringList::SetText(const std::string& text) {
  items_.clear();
  // CR and LF are below every GBK trail byte, so splitting on bytes is safe.
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      Add(text.substr(start));
      break;
    }
    Add(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
}

std::string TStringList::Names(int index) const {
  const std::string& item = (*this)[index];
  size_t eq = item.find('=');
  return eq == std::string::npos ? std::string() : item.substr(0, eq);
}

std::string TStringList::ValueFromIndex(int index) const {
  const std::string& item = (*this)[index];
  size_t eq = item.find('=');
  return eq == std::string::npos ? std::string() : item.substr(eq + 1);
}

int TStringList::IndexOfName(const std::string& name) const {
  for (int i = 0; i < Count(); ++i) {
    const std::string& item = items_[static_cast<size_t>(i)];
    size_t eq = item.find('=');
    if (eq == std::string::npos) continue;
    std::string itemName = item.substr(0, eq);
    if (CaseSensitive ? itemName == name : SameText(itemName, name)) return i;
  }
  return -1;
}

std::string TStringList::Values(const std::string& name) const {
  int index = IndexOfName(name);
  return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStringList::SetValues(const std::string& name, const std::string& value) {
  int index = IndexOfName(name);
  if (value.empty()) {
    if (index >= 0) Delete(index);
    return;
  }
  if (index < 0) {
    Add(name + "=" + value);
  } else if (Sorted) {
    Delete(index);
    Add(name + "=" + value);
  } else {
    items_[static_cast<size_t>(index)] = name + "=" + value;
  }
}

void TStringList::Sort() {
  if (CaseSensitive)
    std::stable_sort(items_.begin(), items_.end());
  else
    std::stable_sort(items_.begin(), items_.end(), [](const std::string& a, const std::string& b) {
      return CompareIgnoringCase(a, b) < 0;
    });
}

void TStringList::LoadFromFile(const std::string& path) { SetText(ReadWholeFile(path)); }

void TStringList::SaveToFile(const std::string& path) const { WriteFileAtomically(path, Text()); }

void TStringList::LoadFromStream(TStream& stream) {
  int64_t size = stream.Remaining();
  std::string bytes(static_cast<size_t>(std::max<int64_t>(size, 0)), '\0');
  stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  SetText(bytes);
}

void TStringList::SaveToStream(TStream& stream) const {
  std::string text = Text();
  stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

// ---- TStream ----

namespace {

[[noreturn]] void RaiseSeek() { throw EStreamError("Stream seek error"); }

}  // namespace

int64_t TStream::Size() {
  int64_t position = Seek(0, TSeekOrigin::soCurrent);
  int64_t size = Seek(0, TSeekOrigin::soEnd);
  Seek(position, TSeekOrigin::soBeginning);
  return size;
}

void TStream::SetSize(int64_t) { throw EStreamError("Stream size cannot be changed"); }

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count < 0 || (count > 0 && Read(buffer, count) != count))
    throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count < 0 || (count > 0 && Write(buffer, count) != count))
    throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  if (count < 0) throw EReadError("Stream read error");
  char buffer[65536];
  int64_t left = count;
  while (left > 0) {
    int64_t chunk = std::min<int64_t>(left, static_cast<int64_t>(sizeof buffer));
    source.ReadBuffer(buffer, chunk);
    WriteBuffer(buffer, chunk);
    left -= chunk;
  }
  return count;
}

uint8_t TStream::ReadByte() {
  uint8_t b;
  ReadBuffer(&b, 1);
  return b;
}

uint16_t TStream::ReadWordLE() {
  uint8_t b[2];
  ReadBuffer(b, 2);
  return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

uint32_t TStream::ReadDWordLE() {
  uint8_t b[4];
  ReadBuffer(b, 4);
  return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
         (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

void TStream::WriteByte(uint8_t value) { WriteBuffer(&value, 1); }

void TStream::WriteWordLE(uint16_t value) {
  uint8_t b[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
  WriteBuffer(b, 2);
}

void TStream::WriteDWordLE(uint32_t value) {
  uint8_t b[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                  static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  WriteBuffer(b, 4);
}

// ---- TMemoryStream ----

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  int64_t available = Size() - position_;
  if (count <= 0 || available <= 0) return 0;
  int64_t n = std::min(count, available);
  std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  int64_t end;
  if (count <= 0 || __builtin_add_overflow(position_, count, &end) || end > kMaxBytes) return 0;
  // Writing past the end (after a seek beyond it) fills the gap with zeros.
  if (end > Size()) data_.resize(static_cast<size_t>(end), '\0');
  std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
  position_ += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == TSeekOrigin::soBeginning ? 0
                 : origin == TSeekOrigin::soCurrent ? position_
                                                    : Size();
  int64_t target;
  if (__builtin_add_overflow(base, offset, &target) || target < 0) RaiseSeek();
  position_ = target;
  return position_;
}

void TMemoryStream::SetSize(int64_t size) {
  if (size < 0 || size > kMaxBytes) throw EStreamError("Stream size cannot be changed");
  data_.resize(static_cast<size_t>(size), '\0');
  if (position_ > size) position_ = size;
}

void TMemoryStream::LoadFromFile(const std::string& path) {
  data_ = ReadWholeFile(path);
  position_ = 0;
}

void TMemoryStream::SaveToFile(const std::string& path) const { WriteFileAtomically(path, data_); }

// ---- TFileStream ----

struct TFileStream::Impl {
  int fd = -1;
};

TFileStream::TFileStream(const std::string& path, unsigned mode) : impl_(std::make_unique<Impl>()) {
  const std::string native = GbkToUtf8(path);
  if ((mode & fmCreate) == fmCreate) {
    impl_->fd = ::open(native.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (impl_->fd < 0) RaiseCannotCreate(path);
    return;
  }
  int flags = O_CLOEXEC;
  switch (mode & 3) {
    case fmOpenWrite:
      flags |= O_WRONLY;
      break;
    case fmOpenReadWrite:
      flags |= O_RDWR;
      break;
    default:
      flags |= O_RDONLY;
      break;
  }
  impl_->fd = path.empty() ? -1 : ::open(native.c_str(), flags);
  struct stat st;
  if (impl_->fd >= 0 && (::fstat(impl_->fd, &st) != 0 || S_ISDIR(st.st_mode))) {
    ::close(impl_->fd);
    impl_->fd = -1;
  }
  if (impl_->fd < 0) RaiseCannotOpen(path);
}

TFileStream::~TFileStream() {
  if (impl_->fd >= 0) ::close(impl_->fd);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  int64_t done = 0;
  char* out = static_cast<char*>(buffer);
  while (done < count) {
    ssize_t n = ::read(impl_->fd, out + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // end of file or an error: a short read the caller sees
    done += n;
  }
  return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  int64_t done = 0;
  const char* in = static_cast<const char*>(buffer);
  while (done < count) {
    ssize_t n = ::write(impl_->fd, in + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET
               : origin == TSeekOrigin::soCurrent ? SEEK_CUR
                                                  : SEEK_END;
  off_t result = ::lseek(impl_->fd, static_cast<off_t>(offset), whence);
  if (result < 0) RaiseSeek();
  return static_cast<int64_t>(result);
}

void TFileStream::SetSize(int64_t size) {
  if (size < 0 || ::ftruncate(impl_->fd, static_cast<off_t>(size)) != 0)
    throw EWriteError("Stream write error");
  if (Position() > size) SetPosition(size);
}
