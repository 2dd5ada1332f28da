#include "lookup/text_operations.h"

#include <climits>
#include <cstdint>
#include <cstring>

namespace tolvane::lookup {
namespace {

const char* OrEmpty(const char* text) { return text ? text : ""; }

bool IsLeadByte(unsigned char byte) { return byte >= 0x80; }

// ASCII-only case folding: A-Z to a-z, every other byte unchanged.
unsigned char FoldCase(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

bool BytesEqual(const unsigned char* a, const unsigned char* b, std::size_t count,
                bool ignoreCase) {
  if (!ignoreCase) return std::memcmp(a, b, count) == 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

// Word-at-a-time test used to step over runs of plain ASCII bytes that cannot start a match:
// nonzero when some byte of `word` is zero.
constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
std::uint64_t HasZeroByte(std::uint64_t word) { return (word - kOnes) & ~word & kHighBits; }

// 0-based offset of the first match of `sought` in `text` (length `length`) at or after the
// character boundary `offset`, stepping one character at a time; -1 when there is none or a
// lone lead byte sits before the terminator.
std::ptrdiff_t FindFrom(const unsigned char* text, std::size_t length, std::size_t offset,
                        const unsigned char* sought, std::size_t soughtLength, bool ignoreCase) {
  if (soughtLength > length) return -1;
  const std::size_t lastStart = length - soughtLength;
  const unsigned char first = ignoreCase ? FoldCase(sought[0]) : sought[0];
  const unsigned char firstOther =
      (ignoreCase && first >= 'a' && first <= 'z') ? static_cast<unsigned char>(first - 32)
                                                   : first;
  const std::uint64_t firstPattern = kOnes * first;
  const std::uint64_t firstOtherPattern = kOnes * firstOther;
  std::size_t position = offset;
  while (position <= lastStart) {
    // Eight ASCII bytes none of which is the sought first byte: each is a character of its own
    // and none starts a match, so the scan may pass them at once.
    if (position + 8 <= length) {
      std::uint64_t word;
      std::memcpy(&word, text + position, 8);
      if ((word & kHighBits) == 0 && !HasZeroByte(word ^ firstPattern) &&
          !HasZeroByte(word ^ firstOtherPattern)) {
        position += 8;
        continue;
      }
    }
    const unsigned char byte = text[position];
    if ((byte == first || byte == firstOther) &&
        BytesEqual(text + position, sought, soughtLength, ignoreCase)) {
      return static_cast<std::ptrdiff_t>(position);
    }
    if (IsLeadByte(byte)) {
      if (text[position + 1] == 0) return -1;  // lone lead byte before the terminator
      position += 2;
    } else {
      position += 1;
    }
  }
  return -1;
}

}  // namespace

std::size_t TextLength(const char* text) { return text ? std::strlen(text) : 0; }

int FindText(const char* text, const char* sought, int start, bool ignoreCase) {
  text = OrEmpty(text);
  sought = OrEmpty(sought);
  const std::size_t length = std::strlen(text);
  const std::int64_t start0 = static_cast<std::int64_t>(start) - 1;
  std::size_t offset = 0;
  std::size_t remaining = length;
  if (start0 > 0) {
    offset = static_cast<std::size_t>(start0) < length ? static_cast<std::size_t>(start0) : length;
    remaining = length - offset;
  }
  const std::size_t soughtLength = std::strlen(sought);
  if (soughtLength == 0) return remaining > 0 ? 1 : -1;
  const std::ptrdiff_t found =
      FindFrom(reinterpret_cast<const unsigned char*>(text), length, offset,
               reinterpret_cast<const unsigned char*>(sought), soughtLength, ignoreCase);
  // Positions are 32-bit; a match past that range is out of reach of any caller.
  if (found < 0 || found >= INT_MAX) return -1;
  return static_cast<int>(found) + 1;
}

Text ReplaceSubtext(const char* text, const char* sought, const char* replacement, int start,
                    int maxReplacements, bool ignoreCase) {
  text = OrEmpty(text);
  sought = OrEmpty(sought);
  replacement = OrEmpty(replacement);
  const std::size_t length = std::strlen(text);
  const std::size_t soughtLength = std::strlen(sought);
  if (length == 0 || soughtLength == 0) return Text::Copy(text, length);
  const std::size_t replacementLength = std::strlen(replacement);
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  const auto* soughtBytes = reinterpret_cast<const unsigned char*>(sought);

  // Worst-case result size: every byte from the start on replaced by the replacement.
  std::size_t position = start > 1 ? static_cast<std::size_t>(start - 1) : 0;
  if (position > length) position = length;
  std::size_t capacity = length;
  if (replacementLength > soughtLength) {
    capacity += (length - position) / soughtLength * (replacementLength - soughtLength);
  }
  char* out = static_cast<char*>(AllocateBlock(capacity + 1));
  std::memcpy(out, text, position);
  std::size_t outLength = position;
  int replaced = 0;
  bool droppedTail = false;
  while (length - position >= soughtLength &&
         (maxReplacements <= 0 || replaced < maxReplacements)) {
    if (BytesEqual(bytes + position, soughtBytes, soughtLength, ignoreCase)) {
      std::memcpy(out + outLength, replacement, replacementLength);
      outLength += replacementLength;
      position += soughtLength;
      ++replaced;
      continue;
    }
    if (IsLeadByte(bytes[position])) {
      if (bytes[position + 1] == 0) {  // lone lead byte before the terminator: not copied
        droppedTail = true;
        break;
      }
      std::memcpy(out + outLength, bytes + position, 2);
      outLength += 2;
      position += 2;
    } else {
      out[outLength++] = text[position++];
    }
  }
  if (!droppedTail) {
    std::memcpy(out + outLength, text + position, length - position);
    outLength += length - position;
  }
  out[outLength] = '\0';
  return Text::Adopt(out, outLength);
}

Text MidText(const char* text, int start, int count) {
  text = OrEmpty(text);
  const std::size_t length = std::strlen(text);
  const std::int64_t start0 = static_cast<std::int64_t>(start) - 1;
  if (start0 < 0 || static_cast<std::uint64_t>(start0) >= length || count <= 0) return Text();
  std::size_t take = length - static_cast<std::size_t>(start0);
  if (static_cast<std::size_t>(count) < take) take = static_cast<std::size_t>(count);
  return Text::Copy(text + start0, take);
}

Text TextBetween(const char* fullText, const char* frontMarker, const char* backMarker,
                 int start, bool caseSensitive) {
  const Text front = ReplaceSubtext(frontMarker, kQuotePlaceholder, "\"");
  const Text back = ReplaceSubtext(backMarker, kQuotePlaceholder, "\"");
  const bool ignoreCase = !caseSensitive;
  int a = FindText(fullText, front.c_str(), start, ignoreCase);
  if (a != -1) {
    const std::int64_t after = static_cast<std::int64_t>(a) + static_cast<std::int64_t>(front.size());
    a = after > INT_MAX ? -1 : static_cast<int>(after);
  }
  // The back marker is sought even when the front one is missing (then from the first byte);
  // that result is not used.
  const int b = FindText(fullText, back.c_str(), a, ignoreCase);
  if (a == -1 || b == -1) return Text();
  return MidText(fullText, a, b - a);
}

Text ConcatTexts(std::initializer_list<const char*> texts) {
  std::size_t total = 0;
  for (const char* text : texts) total += TextLength(text);
  char* out = static_cast<char*>(AllocateBlock(total + 1));
  std::size_t used = 0;
  for (const char* text : texts) {
    const std::size_t length = TextLength(text);
    if (length) std::memcpy(out + used, text, length);
    used += length;
  }
  out[used] = '\0';
  return Text::Adopt(out, used);
}

Text BytesToText(const Bytes& bytes) {
  if (bytes.empty()) return Text();
  const void* zero = std::memchr(bytes.data(), 0, bytes.size());
  const std::size_t length =
      zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - bytes.data())
           : bytes.size();
  return Text::Copy(reinterpret_cast<const char*>(bytes.data()), length);
}

int CompareText(const char* a, const char* b) {
  const int order = std::strcmp(OrEmpty(a), OrEmpty(b));
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

}  // namespace tolvane::lookup
