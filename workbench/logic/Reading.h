// The reading as text: what is saved, and the blocks of the eight-chart command.
#pragma once

#include <string>

// The whole reading: question line, chart, a spacer line and the result line.
std::string ReadingText(const std::string& sequence, const std::string& subject,
                        const std::string& chart, const std::string& result);

// One chart of the eight-chart command, headed "卦" + number (1 to 8).
std::string MultiChartBlock(int number, const std::string& sequence, const std::string& subject,
                            const std::string& chart, const std::string& result);
// The eight charts' totals, unrounded.
std::string MultiChartSummary(double shiSum, double yingSum, double ratioSum0, double ratioSum1);

// The file name proposed for a subject: "/" and control characters would make it a path or an
// unreadable name, so each becomes "_". Both are single bytes that never occur inside a GBK
// character, so the text stays whole. A long subject is cut at a character boundary so that
// the name with ".txt" keeps to the file system's 255 bytes (of UTF-8).
std::string ProposedFileName(const std::string& subject);

// Writes the text as GBK lines each ended by CR LF, through a temporary file renamed into place;
// raises EFCreateError or EWriteError and leaves an existing file whole when that fails.
void SaveReading(const std::string& path, const std::string& text);
