// TextBetween, FindText and ReplaceSubtext on arbitrary bytes: the input is split into a page
// and two markers at the first two 0xFF 0x00 pairs; every result is checked against what the
// operations promise: FindText agrees with a plain character walk, a result of TextBetween
// is a part of the page, positions point at a real match.
#include <cstdint>
#include <cstring>
#include <string>

#include "lookup/text_operations.h"

using namespace tolvane;
using namespace tolvane::lookup;

namespace {

bool FoldEqual(const char* a, const char* b, std::size_t n, bool ignoreCase) {
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char x = a[i], y = b[i];
    if (ignoreCase) {
      if (x >= 'A' && x <= 'Z') x += 32;
      if (y >= 'A' && y <= 'Z') y += 32;
    }
    if (x != y) return false;
  }
  return true;
}

// The search as a plain character walk: the meaning that FindText's faster scan must keep.
int WalkingFind(const std::string& text, const std::string& sought, int start, bool ignoreCase) {
  std::size_t i = start > 1 ? static_cast<std::size_t>(start) - 1 : 0;
  if (i > text.size()) i = text.size();
  if (sought.empty()) return i < text.size() ? 1 : -1;
  while (i + sought.size() <= text.size()) {
    if (FoldEqual(text.data() + i, sought.data(), sought.size(), ignoreCase)) {
      return static_cast<int>(i) + 1;
    }
    if (static_cast<unsigned char>(text[i]) >= 0x80) {
      if (i + 1 == text.size()) return -1;
      i += 2;
    } else {
      i += 1;
    }
  }
  return -1;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int start = static_cast<std::int8_t>(data[0]);
  const bool flag = data[1] & 1;
  std::string rest(reinterpret_cast<const char*>(data + 2), size - 2);
  std::string parts[3];
  for (int i = 0; i < 2; ++i) {
    const std::size_t cut = rest.find(std::string("\xFF\0", 2));
    if (cut == std::string::npos) break;
    parts[i] = rest.substr(0, cut);
    rest = rest.substr(cut + 2);
  }
  parts[2] = rest;
  // Texts end at their first zero byte, as they do in the program.
  const std::string page = parts[2].c_str();
  const std::string front = parts[0].c_str(), back = parts[1].c_str();

  const int found = FindText(page.c_str(), front.c_str(), start, flag);
  Check(found == WalkingFind(page, front, start, flag));
  if (found != -1 && !front.empty()) {
    Check(found >= 1 && static_cast<std::size_t>(found) + front.size() - 1 <= page.size());
    Check(FoldEqual(page.c_str() + found - 1, front.c_str(), front.size(), flag));
    Check(start <= 1 || found >= start);
  }

  Text between = TextBetween(page.c_str(), front.c_str(), back.c_str(), start, flag);
  if (!between.empty()) Check(page.find(between.c_str()) != std::string::npos);

  Text replaced = ReplaceSubtext(page.c_str(), front.c_str(), back.c_str(), start, data[1] >> 1,
                                 flag);
  Check(std::strlen(replaced.c_str()) == replaced.size());

  Text mid = MidText(page.c_str(), start, static_cast<int>(size) - 40);
  Check(mid.size() <= page.size());
  return 0;
}
