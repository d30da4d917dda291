// A text sink for tests: while one exists, every canvas appends its text outputs to it. With a
// fixed character width, every canvas measures text as that many pixels per byte (a Chinese
// character is two bytes) and fixedLineHeight per line. Recorders nest; the newest receives.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"

class TTextRecorder : public TTextSink {
 public:
  explicit TTextRecorder(int fixedByteWidth = 0, int fixedLineHeight = 0);
  ~TTextRecorder() override;
  TTextRecorder(const TTextRecorder&) = delete;
  TTextRecorder& operator=(const TTextRecorder&) = delete;

  std::vector<TTextRecord> Records() const;
  // Every record whose text (as passed) equals the given GBK text.
  std::vector<TTextRecord> Find(const std::string& text) const;
  void Clear();

  int FixedByteWidth() const { return byteWidth_; }
  int FixedLineHeight() const { return lineHeight_; }

  void Add(TTextRecord record) override;
  TSize FixedMetrics() const override { return TSize{byteWidth_, lineHeight_}; }
  static TTextRecorder* Current();

 private:
  int byteWidth_;
  int lineHeight_;
  TTextRecorder* previous_;
  mutable std::mutex mutex_;
  std::vector<TTextRecord> records_;
};
