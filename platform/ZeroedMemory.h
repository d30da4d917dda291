// Blocks of memory that start zeroed without being written: large ones are fresh pages from
// the system, so a picture whose data reach only its first pixels costs only the pages they
// touch, however large it says it is, and however often it is read. Data that will be written
// whole take warm memory from the heap instead: fresh pages are faulted in and zeroed by the
// system one by one, every time, which for a picture its data fill is the larger cost.
#pragma once

#include <algorithm>
#include <concepts>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <new>
#include <type_traits>
#include <utility>

// Null when the memory cannot be had. The block is aligned as the heap's blocks are; free it
// with FreeBlock.
void* AllocateZeroed(std::size_t bytes);
// A block whose bytes are whatever the heap last held, for a caller that writes them all; null
// when the memory cannot be had. Aligned as the heap's blocks; free it with FreeBlock.
void* AllocateForOverwrite(std::size_t bytes);
void FreeBlock(void* block);

// A class type whose members are all values whose zero bytes are their zero (no member
// pointers, no references) says so by setting this to true for itself.
template <class T>
inline constexpr bool kZeroBytesAreZeroValue = false;

// The values a zeroed block holds as their zeros, copied as bytes, on blocks aligned as the
// heap's: integers, floating-point numbers (all-zero bytes are +0.0), enumerations, object and
// function pointers (the null pointer is all zero bits on every platform we build for), and
// class types that say so above, trivially copyable, aligned no more than std::max_align_t. A
// pointer to member is not one: its null is -1 on our platforms. Nor is a type aligned beyond
// std::max_align_t: the blocks would not hold it aligned.
template <class T>
concept ZeroedArrayElement = std::is_same_v<T, std::remove_cv_t<T>> &&
                                 std::is_trivially_copyable_v<T> &&
                                 std::is_trivially_default_constructible_v<T> &&
                                 alignof(T) <= alignof(std::max_align_t) &&
                             (std::is_arithmetic_v<T> || std::is_enum_v<T> ||
                              std::is_pointer_v<T> || std::is_null_pointer_v<T> ||
                              (std::is_class_v<T> && kZeroBytesAreZeroValue<T>));

// An array of such values on zeroed blocks. Sizing it is one step, never a pass over its
// elements: grown, it is zero past what it held, and large new blocks are fresh pages, so an
// array that is only partly written costs only what is written. Made from values (a count of
// one value, a range, a copy), or sized with SizeForOverwrite, it takes warm heap memory. A
// range is measured before it is copied, so it must be one that can be read twice: forward
// iterators only.
template <ZeroedArrayElement T>
class TZeroedArray {
 public:
  using value_type = T;
  using size_type = std::size_t;
  using reference = T&;
  using const_reference = const T&;
  using iterator = T*;
  using const_iterator = const T*;

  TZeroedArray() noexcept = default;
  explicit TZeroedArray(std::size_t count) { resize(count); }
  TZeroedArray(std::size_t count, const T& value) { assign(count, value); }
  template <std::forward_iterator It>
  requires std::convertible_to<std::iter_reference_t<It>, T> TZeroedArray(It first, It last) {
    assign(first, last);
  }
  TZeroedArray(std::initializer_list<T> values) { assign(values.begin(), values.end()); }
  TZeroedArray(const TZeroedArray& other) { assign(other.begin(), other.end()); }
  TZeroedArray(TZeroedArray&& other) noexcept
      : data_(std::exchange(other.data_, nullptr)),
        size_(std::exchange(other.size_, 0)),
        capacity_(std::exchange(other.capacity_, 0)) {}
  TZeroedArray& operator=(const TZeroedArray& other) {
    if (this != &other) assign(other.begin(), other.end());
    return *this;
  }
  TZeroedArray& operator=(TZeroedArray&& other) noexcept {
    TZeroedArray gone(std::move(other));
    swap(gone);
    return *this;
  }
  ~TZeroedArray() { FreeBlock(data_); }

  void swap(TZeroedArray& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
  }

  T* data() noexcept { return data_; }
  const T* data() const noexcept { return data_; }
  std::size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  T* begin() noexcept { return data_; }
  T* end() noexcept { return data_ + size_; }
  const T* begin() const noexcept { return data_; }
  const T* end() const noexcept { return data_ + size_; }
  T& operator[](std::size_t i) noexcept { return data_[i]; }
  const T& operator[](std::size_t i) const noexcept { return data_[i]; }
  T& front() noexcept { return data_[0]; }
  const T& front() const noexcept { return data_[0]; }
  T& back() noexcept { return data_[size_ - 1]; }
  const T& back() const noexcept { return data_[size_ - 1]; }

  // Keeps the first elements; those added are zero.
  void resize(std::size_t count) {
    if (count > capacity_) {
      T* block = static_cast<T*>(AllocateZeroed(Bytes(count)));
      if (!block) throw std::bad_alloc();
      if (size_ > 0) std::memcpy(block, data_, size_ * sizeof(T));
      Replace(block, count);
    } else if (count > size_) {
      // Written while it was longer.
      std::memset(static_cast<void*>(data_ + size_), 0, (count - size_) * sizeof(T));
    }
    size_ = count;
  }
  // `count` elements of no particular value, for a caller that writes every one of them.
  void SizeForOverwrite(std::size_t count) {
    if (count > capacity_) {
      T* block = static_cast<T*>(AllocateForOverwrite(Bytes(count)));
      if (!block) throw std::bad_alloc();
      Replace(block, count);
    }
    size_ = count;
  }
  void assign(std::size_t count, const T& value) {
    const T copy = value;  // it may be one of ours, and the block may go
    SizeForOverwrite(count);
    std::fill_n(data_, count, copy);
  }
  template <std::forward_iterator It>
  requires std::convertible_to<std::iter_reference_t<It>, T>
  void assign(It first, It last) {
    TZeroedArray copy;
    copy.SizeForOverwrite(static_cast<std::size_t>(std::distance(first, last)));
    std::copy(first, last, copy.data_);
    swap(copy);
  }

  friend bool operator==(const TZeroedArray& a, const TZeroedArray& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }

 private:
  static std::size_t Bytes(std::size_t count) {
    if (count > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    return count * sizeof(T);
  }
  void Replace(T* block, std::size_t capacity) noexcept {
    FreeBlock(data_);
    data_ = block;
    capacity_ = capacity;
  }

  T* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};
