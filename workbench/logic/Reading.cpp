#include "workbench/logic/Reading.h"

#include "platform/Classes.h"
#include "platform/Files.h"
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
  std::string name = subject;
  for (char& c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '/' || byte < 0x20 || byte == 0x7F) c = '_';
  }
  return name;
}

void SaveReading(const std::string& path, const std::string& text) {
  TStringList lines;
  lines.SetText(text);
  WriteFileAtomically(path, lines.Text());
}
