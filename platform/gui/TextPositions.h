// Inside platform/gui only: byte positions of GBK texts against the toolkit's UTF-16 indices.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace zgui {

// GBK byte count of the first `index` UTF-16 units of `text`.
int ByteOffsetOf(const QString& text, int index);
// UTF-16 index in `text` that starts at GBK byte `offset` (rounded down to a character).
int IndexOfByteOffset(const QString& text, int offset);
// The longest start of `text` whose GBK form fits in `maxBytes` bytes, whole characters only.
QString LeftBytes(const QString& text, int maxBytes);
// UTF-16 index reached from `from` after at most `bytes` bytes of the system's form of the
// text, in which each line break is CR LF (two bytes).
int IndexAfterBytes(const QString& text, int from, int bytes);
// Line breaks of the system's texts (CR LF, lone CR or LF) to the toolkit's '\n', and back.
QString ToToolkitLines(std::string_view gbk);
std::string FromToolkitLines(const QString& text);

}  // namespace zgui
