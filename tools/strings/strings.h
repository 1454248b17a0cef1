// Small pieces of text handling the tools share: a text's lines, ASCII
// letters in one case, and the FNV-1a hash. Each is written here once.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

// The lines of `text`: each ends at an LF, a CR before it dropped; a last
// line without a break counts, an empty text has no lines.
std::vector<std::string> SplitLines(const std::string& text);

// `text` with its ASCII letters in upper or in lower case; other bytes
// (those of Shift-JIS or UTF-8 characters among them) as they are.
std::string AsciiUpper(std::string text);
std::string AsciiLower(std::string text);

// Whether `a` and `b` are the same but for the case of ASCII letters.
bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b);

// Whether `text` begins with `start`, or ends in `end`, the case of ASCII
// letters aside.
bool StartsWithIgnoringAsciiCase(const std::string& text, const std::string& start);
bool EndsWithIgnoringAsciiCase(const std::string& text, const std::string& end);

// The FNV-1a hash of `bytes`, in 32 and in 64 bits.
uint32_t Fnv1a32(const std::string& bytes);
uint64_t Fnv1a64(const std::string& bytes);
