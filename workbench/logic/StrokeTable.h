// Stroke counts of names: Chinese characters by their strokes in simplified form, Latin letters
// by their place in the alphabet, digits by their value.
#pragma once

#include <string>

constexpr int StrokeGroupCount = 27;

// Group k is the plain concatenation (GBK) of everything that counts k strokes.
extern const char* const StrokeGroups[StrokeGroupCount];

// Sum of the stroke values of the characters of a GBK text, walked as GbkCharLength steps: a
// byte below 0x80 is a character of its own (0 when it is in no group, as the apostrophe and
// the backslash are); a lead byte with its trail byte is a two-byte character. A four-byte
// character (GB18030), a lead byte that starts no character and a character in no group
// count 0.
int StrokeCount(const std::string& Text);
