#include "workbench/logic/Reading.h"

#include "platform/Classes.h"
#include "platform/Files.h"
#include "platform/GbkText.h"
#include "platform/Numbers.h"

std::string ReadingText(const std::string& sequence, const std::string& subject,
                        const std::string& chart, const std::string& result) {
  return "　\r\n占卜:" + sequence + subject + "\r\n" + chart + "\r\n　\r\n" + result;
}

std::string MultiChartBlock(int number, const std::string& sequence, const std::string& subject,
                            const std::string& chart, const std::string& result) {
  return "　\r\n卦" + IntToStr(number) + "占卜:" + sequence + subject + "\r\n" + chart +
         "\r\n　\r\n" + result + "\r\n　";
}

std::string MultiChartSummary(double shiSum, double yingSum, double ratioSum0, double ratioSum1) {
  return "综合世应力量:" + FloatToStr(shiSum) + "－" + FloatToStr(yingSum) +
         ",体用力量:" + FloatToStr(ratioSum0) + "－" + FloatToStr(ratioSum1);
}

std::string ProposedFileName(const std::string& subject) {
  // On disk the name is UTF-8 and may hold 255 bytes, ".txt" (the dialog's default extension)
  // included: a longer one the save dialog cannot take.
  constexpr size_t kNameBytes = 255 - 4;
  std::string name;
  size_t diskBytes = 0;
  for (size_t at = 0; at < subject.size();) {
    std::string ch = subject.substr(at, static_cast<size_t>(GbkCharLength(subject, at)));
    at += ch.size();
    if (ch.size() == 1) {
      const auto byte = static_cast<unsigned char>(ch[0]);
      if (byte == '/' || byte < 0x20 || byte == 0x7F) ch = "_";
    }
    diskBytes += GbkToUtf8(ch).size();
    if (diskBytes > kNameBytes) break;
    name += ch;
  }
  return name;
}

void SaveReading(const std::string& path, const std::string& text) {
  TStringList lines;
  lines.SetText(text);
  WriteFileAtomically(path, lines.Text());
}
