#include "tests/support/TextRecorder.h"

#include <algorithm>

namespace {
std::mutex g_chainMutex;
TTextRecorder* g_newest = nullptr;
}  // namespace

TTextRecorder::TTextRecorder(int fixedByteWidth, int fixedLineHeight)
    : byteWidth_(std::max(0, fixedByteWidth)), lineHeight_(std::max(0, fixedLineHeight)) {
  if (byteWidth_ > 0 && lineHeight_ == 0) lineHeight_ = 2 * byteWidth_;
  std::lock_guard<std::mutex> lock(g_chainMutex);
  previous_ = g_newest;
  g_newest = this;
  SetTextSink(this);
}

TTextRecorder::~TTextRecorder() {
  std::lock_guard<std::mutex> lock(g_chainMutex);
  // Recorders nest; one that outlives a newer one unlinks itself from the chain.
  if (g_newest == this) {
    g_newest = previous_;
    SetTextSink(g_newest);
  } else {
    for (TTextRecorder* r = g_newest; r != nullptr; r = r->previous_) {
      if (r->previous_ == this) {
        r->previous_ = previous_;
        break;
      }
    }
  }
}

TTextRecorder* TTextRecorder::Current() {
  std::lock_guard<std::mutex> lock(g_chainMutex);
  return g_newest;
}

void TTextRecorder::Add(TTextRecord record) {
  std::lock_guard<std::mutex> lock(mutex_);
  records_.push_back(std::move(record));
}

std::vector<TTextRecord> TTextRecorder::Records() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return records_;
}

std::vector<TTextRecord> TTextRecorder::Find(const std::string& text) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<TTextRecord> result;
  for (const TTextRecord& r : records_) {
    if (r.Text == text) result.push_back(r);
  }
  return result;
}

void TTextRecorder::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  records_.clear();
}
