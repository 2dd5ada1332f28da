#pragma once
// Text operations on ANSI byte strings (GBK on the target: a byte of 0x80 or more starts a
// double-byte character). Positions and lengths count bytes; positions are 1-based and -1
// stands for "no position". Every `const char*` parameter is only read; null reads as "".
#include <cstddef>
#include <initializer_list>

#include "base/text.h"

namespace tolvane::lookup {

// Number of bytes before the terminating zero; 0 for null.
std::size_t TextLength(const char* text);

// 1-based position of the first occurrence of `sought` in `text` at or after `start`
// (0 or less: the first byte), or -1. Matches begin only on character boundaries. With
// `ignoreCase`, A-Z and a-z compare equal in every compared byte; nothing else is folded.
// An empty `sought` is found at 1 when any text remains after `start`.
int FindText(const char* text, const char* sought, int start = 0, bool ignoreCase = false);

// A new text with occurrences of `sought` replaced by `replacement`, scanning character by
// character from the 1-based `start` (bytes before it are copied unchanged). At most
// `maxReplacements` are made; 0 or less means no maximum. A lone lead byte directly before the
// terminator ends the scan and is dropped.
Text ReplaceSubtext(const char* text, const char* sought, const char* replacement,
                    int start = 1, int maxReplacements = -1, bool ignoreCase = false);

// A new text of at most `count` bytes from the 1-based `start`; empty when start is below 1 or
// beyond the text, or count is 0 or less. Cuts by bytes, not characters.
Text MidText(const char* text, int start, int count);

// The text after the first `frontMarker` found at or after `start` and before the next
// `backMarker` that begins after it; empty when either is missing. In both markers the
// placeholder "#引号" (GBK bytes 23 D2 FD BA C5) stands for one double quote.
Text TextBetween(const char* fullText, const char* frontMarker, const char* backMarker,
                 int start = 0, bool caseSensitive = false);

// The placeholder for a double quote inside TextBetween's markers.
inline constexpr char kQuotePlaceholder[] = "#\xD2\xFD\xBA\xC5";

// The given texts joined in order; null texts add nothing. Parts may be `const char*` or Text.
Text ConcatTexts(std::initializer_list<const char*> texts);
inline const char* TextPart(const char* text) { return text; }
inline const char* TextPart(const Text& text) { return text.get(); }
template <typename... Parts>
Text ConcatTexts(const Parts&... parts) {
  return ConcatTexts({TextPart(parts)...});
}

// The bytes up to the first zero byte (all of them when there is none), as a text.
Text BytesToText(const Bytes& bytes);

// -1, 0 or 1: byte-wise comparison as unsigned bytes; null counts as "".
int CompareText(const char* a, const char* b);

}  // namespace tolvane::lookup
