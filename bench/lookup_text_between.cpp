// TextBetween over a 1 MB member page whose avatar element sits at its very end, next to a
// plain memmem search for the front marker in the same page (the goal: within 2x of it).
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "lookup/text_operations.h"

namespace {

constexpr char kFront[] = "class=\"userinfo_head\"><img src=\"";
constexpr char kBack[] = "\"/></a>";

// A 1 MB page of repeated `filler`, padded, with the avatar element at its very end.
std::string MakePage(const std::string& filler) {
  const std::string tail = std::string("<a class=\"userinfo_head\"><img src=\"") +
                           "http://tb.himg.baidu.com/sys/portrait/item/abc.jpg" + kBack;
  std::string text;
  while (text.size() + filler.size() + tail.size() < (1u << 20)) text += filler;
  text.append((1u << 20) - text.size() - tail.size(), ' ');
  return text + tail;
}

// HTML-like filler with GBK text and near-misses of the marker ("class=", "<img").
const std::string& Page() {
  static const std::string page = MakePage(
      "<li class=\"thread\"><a href=\"/p/12345\" title=\"\xB0\xD9\xB6\xC8\xCC\xF9\xB0\xC9\">"
      "<img src=\"http://p.test/s.png\"/>\xCE\xD2\xB5\xC4\xCC\xF9\xD7\xD3</a></li>\n");
  return page;
}

// The same with underscores and quotes everywhere, as in pages whose class names are
// written with underscores: the rarest byte of the marker is then common.
const std::string& UnderscorePage() {
  static const std::string page = MakePage(
      "<li class=\"j_thread_list clearfix\" data-field=\"{&quot;id&quot;:1}\">"
      "<a class=\"j_th_tit user_name\" href=\"/p/1\">\xB0\xD9\xB6\xC8_\xCC\xF9</a></li>\n");
  return page;
}

void BM_TextBetween(benchmark::State& state) {
  const std::string& page = state.range(0) ? UnderscorePage() : Page();
  for (auto _ : state) {
    tolvane::Text address = tolvane::lookup::TextBetween(page.c_str(), kFront, kBack, 0, false);
    benchmark::DoNotOptimize(address.get());
    if (address.size() != 50) state.SkipWithError("avatar address not found");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * page.size());
}
BENCHMARK(BM_TextBetween)->Arg(0)->Arg(1);  // 1: the underscore page

void BM_TextBetweenCaseSensitive(benchmark::State& state) {
  const std::string& page = Page();
  for (auto _ : state) {
    tolvane::Text address = tolvane::lookup::TextBetween(page.c_str(), kFront, kBack, 0, true);
    benchmark::DoNotOptimize(address.get());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * page.size());
}
BENCHMARK(BM_TextBetweenCaseSensitive);

// The yardstick: the C library's memmem for the front marker (exact case, no character
// boundaries), then for the back marker after it.
void BM_Memmem(benchmark::State& state) {
  const std::string& page = state.range(0) ? UnderscorePage() : Page();
  for (auto _ : state) {
    const char* front = static_cast<const char*>(
        memmem(page.data(), page.size(), kFront, sizeof kFront - 1));
    const char* after = front + sizeof kFront - 1;
    const void* back = memmem(after, page.data() + page.size() - after, kBack, sizeof kBack - 1);
    benchmark::DoNotOptimize(back);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * page.size());
}
BENCHMARK(BM_Memmem)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
