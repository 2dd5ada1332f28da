#include "lookup/text_operations.h"

#include <climits>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Word-at-a-time scanning of eight bytes: the high bit of each byte of the result is set
// exactly where that byte of `word` is zero.
constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
constexpr std::uint64_t kLowBits = 0x7F7F7F7F7F7F7F7Full;
std::uint64_t ZeroBytes(std::uint64_t word) {
  return ~(((word & kLowBits) + kLowBits) | word | kLowBits);
}

// Index of the first flagged byte of a little-endian loaded word (flags in the high bits).
unsigned FirstFlaggedByte(std::uint64_t flags) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  return static_cast<unsigned>(__builtin_clzll(flags)) >> 3;
#else
  return static_cast<unsigned>(__builtin_ctzll(flags)) >> 3;
#endif
}

// 0-based offset of the first match of `sought` in `text` (length `length`) at or after the
// character boundary `offset`, stepping one character at a time; -1 when there is none or a
// lone lead byte sits before the terminator.
std::ptrdiff_t FindByWalking(const unsigned char* text, std::size_t length, std::size_t offset,
                             const unsigned char* sought, std::size_t soughtLength,
                             bool ignoreCase) {
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
    // Bytes below 0x80 that are not the sought first byte are characters of their own that
    // cannot start a match: pass them eight at a time, up to the first byte that matters.
    if (position + 8 <= length) {
      std::uint64_t word;
      std::memcpy(&word, text + position, 8);
      const std::uint64_t matters = (word & kHighBits) | ZeroBytes(word ^ firstPattern) |
                                    ZeroBytes(word ^ firstOtherPattern);
      if (matters == 0) {
        position += 8;
        continue;
      }
      position += FirstFlaggedByte(matters);
      if (position > lastStart) break;
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

bool IsAsciiLetter(unsigned char byte) { return (byte | 0x20) >= 'a' && (byte | 0x20) <= 'z'; }

// How common a byte is in web pages, roughly: lower is rarer. Used to pick the byte of the
// sought text that the scan looks for first.
int Commonness(unsigned char byte) {
  if (byte == ' ' || byte == '\n' || byte == '\t' || byte == '\r') return 9;
  if (byte >= 'a' && byte <= 'z') return std::strchr("jqxzkvbwy", byte) ? 5 : 8;
  if (byte == '<' || byte == '>' || byte == '"' || byte == '=' || byte == '/') return 7;
  if (byte == '.' || byte == ':' || byte == '-' || byte >= 0x80) return 6;
  if (byte >= 'A' && byte <= 'Z') return 4;
  if (byte >= '0' && byte <= '9') return 4;
  return 1;  // other punctuation and control bytes
}

// Position `candidate` (at or after `offset`) is a character boundary when the run of bytes of
// 0x80 or more right before it has even length: the byte after any byte below 0x80 begins a
// character, whether that byte was a character or the second byte of one. `runStart` and
// `checkedUpTo` carry what earlier (smaller) candidates learnt, so each byte is looked at
// once over the whole scan.
struct BoundaryTracker {
  const unsigned char* text;
  std::size_t runStart;     // first byte of the high-byte run that reaches checkedUpTo
  std::size_t checkedUpTo;  // bytes runStart .. checkedUpTo - 1 are all 0x80 or more

  bool IsBoundary(std::size_t candidate) {
    for (std::size_t i = candidate; i > checkedUpTo; --i) {
      if (text[i - 1] < 0x80) {
        runStart = i;
        break;
      }
    }
    checkedUpTo = candidate;
    return (candidate - runStart) % 2 == 0;
  }
};

// The same search as FindByWalking, made by looking for the rarest byte of `sought` with
// memchr and checking each hit for a match on a character boundary. A lone lead byte before
// the terminator needs no special case: no match can start after it.
std::ptrdiff_t FindByAnchor(const unsigned char* text, std::size_t length, std::size_t offset,
                            const unsigned char* sought, std::size_t soughtLength,
                            bool ignoreCase, std::size_t anchor) {
  const std::size_t lastStart = length - soughtLength;
  BoundaryTracker boundaries{text, offset, offset};
  std::size_t position = offset;
  while (position <= lastStart) {
    const unsigned char* hit = static_cast<const unsigned char*>(
        std::memchr(text + position + anchor, sought[anchor], lastStart - position + 1));
    if (!hit) return -1;
    const std::size_t candidate = static_cast<std::size_t>(hit - text) - anchor;
    if (BytesEqual(text + candidate, sought, soughtLength, ignoreCase) &&
        boundaries.IsBoundary(candidate)) {
      return static_cast<std::ptrdiff_t>(candidate);
    }
    position = candidate + 1;
  }
  return -1;
}

// The same search again, filtering candidates by two bytes of `sought` at once: eight
// positions per step are tested for both anchor bytes with word-wide comparisons, which keeps
// the scan fast when even the rarer anchor byte is common in the page.
std::ptrdiff_t FindByTwoAnchors(const unsigned char* text, std::size_t length,
                                std::size_t offset, const unsigned char* sought,
                                std::size_t soughtLength, bool ignoreCase, std::size_t anchor1,
                                std::size_t anchor2) {
  const std::size_t lastStart = length - soughtLength;
  BoundaryTracker boundaries{text, offset, offset};
  const std::uint64_t pattern1 = kOnes * sought[anchor1], pattern2 = kOnes * sought[anchor2];
  std::size_t position = offset;
  // Sixteen or eight candidates at once while all of them may start a match (their anchor
  // bytes then lie inside the text).
#if defined(__SSE2__)
  const __m128i vector1 = _mm_set1_epi8(static_cast<char>(sought[anchor1]));
  const __m128i vector2 = _mm_set1_epi8(static_cast<char>(sought[anchor2]));
  for (; lastStart >= 15 && position <= lastStart - 15; position += 16) {
    const __m128i bytes1 =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + position + anchor1));
    const __m128i bytes2 =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + position + anchor2));
    unsigned both = static_cast<unsigned>(_mm_movemask_epi8(
        _mm_and_si128(_mm_cmpeq_epi8(bytes1, vector1), _mm_cmpeq_epi8(bytes2, vector2))));
    while (both) {
      const std::size_t candidate = position + static_cast<unsigned>(__builtin_ctz(both));
      if (BytesEqual(text + candidate, sought, soughtLength, ignoreCase) &&
          boundaries.IsBoundary(candidate)) {
        return static_cast<std::ptrdiff_t>(candidate);
      }
      both &= both - 1;
    }
  }
#endif
  for (; lastStart >= 7 && position <= lastStart - 7; position += 8) {
    std::uint64_t word1, word2;
    std::memcpy(&word1, text + position + anchor1, 8);
    std::memcpy(&word2, text + position + anchor2, 8);
    std::uint64_t both = ZeroBytes(word1 ^ pattern1) & ZeroBytes(word2 ^ pattern2);
    while (both) {
      const std::size_t candidate = position + FirstFlaggedByte(both);
      if (BytesEqual(text + candidate, sought, soughtLength, ignoreCase) &&
          boundaries.IsBoundary(candidate)) {
        return static_cast<std::ptrdiff_t>(candidate);
      }
      both &= both - 1;  // the flag just handled is the lowest set bit
    }
  }
  for (; position <= lastStart; ++position) {
    if (text[position + anchor1] == sought[anchor1] &&
        text[position + anchor2] == sought[anchor2] &&
        BytesEqual(text + position, sought, soughtLength, ignoreCase) &&
        boundaries.IsBoundary(position)) {
      return static_cast<std::ptrdiff_t>(position);
    }
  }
  return -1;
}

std::ptrdiff_t FindFrom(const unsigned char* text, std::size_t length, std::size_t offset,
                        const unsigned char* sought, std::size_t soughtLength, bool ignoreCase) {
  if (soughtLength > length || offset > length - soughtLength) return -1;
  // Anchor bytes must compare exactly: a letter cannot be one when case is ignored. The two
  // rarest are taken.
  const std::size_t none = soughtLength;
  std::size_t anchor1 = none, anchor2 = none;
  for (std::size_t i = 0; i < soughtLength; ++i) {
    if (ignoreCase && IsAsciiLetter(sought[i])) continue;
    if (anchor1 == none || Commonness(sought[i]) < Commonness(sought[anchor1])) {
      anchor2 = anchor1;
      anchor1 = i;
    } else if (anchor2 == none || Commonness(sought[i]) < Commonness(sought[anchor2])) {
      anchor2 = i;
    }
  }
  if (anchor1 == none) {
    return FindByWalking(text, length, offset, sought, soughtLength, ignoreCase);
  }
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  anchor2 = none;  // the word-wide filter reads its flags in little-endian order
#endif
  if (anchor2 == none) {
    return FindByAnchor(text, length, offset, sought, soughtLength, ignoreCase, anchor1);
  }
  return FindByTwoAnchors(text, length, offset, sought, soughtLength, ignoreCase, anchor1,
                          anchor2);
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
    const std::int64_t after =
        static_cast<std::int64_t>(a) + static_cast<std::int64_t>(front.size());
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
