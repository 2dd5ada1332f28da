// FetchUrl of one large body, for bench/lookup_fetch.sh: prints the time of each fetch and the
// process's peak working set next to the body size. With --bare, the same request is read with
// bare WinINet calls into one reused buffer and nothing is kept: the HTTP layer's own cost.
// Not a test; built with the Windows tree.
// Usage: bench_fetch_url.exe [--bare] ADDRESS EXPECTED_BYTES REPEATS
#include <windows.h>
#include <psapi.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "lookup/fetch_url.h"

namespace {

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Megabytes(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

// The request FetchUrl makes, read 102400 bytes at a time (its read size for a long announced
// body); returns the number of bytes received.
unsigned long long BareFetch(const char* address) {
  static HINTERNET session =
      InternetOpenA("Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)", 1, nullptr, nullptr, 0);
  char host[256] = {}, path[2048] = {};
  URL_COMPONENTSA parts = {};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = sizeof host;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = sizeof path;
  if (!InternetCrackUrlA(address, 0, 0, &parts)) return 0;
  HINTERNET connection = InternetConnectA(session, host, parts.nPort, "", "", 3, 0, 0);
  const char* acceptTypes[] = {"*/*", nullptr};
  HINTERNET request = HttpOpenRequestA(connection, "GET", path, "HTTP/1.0", nullptr,
                                       acceptTypes, 0x84000000, 0);
  unsigned long long total = 0;
  if (HttpSendRequestA(request, "Accept: */*\r\n\r\n", 15, nullptr, 0)) {
    static char buffer[102400];
    DWORD received = 0;
    while (InternetReadFile(request, buffer, sizeof buffer, &received) && received) {
      total += received;
    }
  }
  InternetCloseHandle(request);
  InternetCloseHandle(connection);
  return total;
}

}  // namespace

int main(int argc, char** argv) {
  const bool bare = argc > 1 && std::strcmp(argv[1], "--bare") == 0;
  if (bare) {
    --argc;
    ++argv;
  }
  if (argc < 4) {
    std::fprintf(stderr, "usage: bench_fetch_url.exe [--bare] ADDRESS EXPECTED_BYTES REPEATS\n");
    return 2;
  }
  const unsigned long long expected = std::strtoull(argv[2], nullptr, 10);
  const int repeats = std::atoi(argv[3]);
  PROCESS_MEMORY_COUNTERS before = {};
  before.cb = sizeof before;
  GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
  double best = 1e30;
  int status = 0;
  for (int i = 0; bare && i < repeats; ++i) {
    const double start = Seconds();
    const unsigned long long received = BareFetch(argv[1]);
    const double elapsed = Seconds() - start;
    if (elapsed < best) best = elapsed;
    std::printf("bare read %d: %.3f s, %llu bytes\n", i + 1, elapsed, received);
    if (received != expected) status = 1;
  }
  for (int i = 0; !bare && i < repeats; ++i) {
    const double start = Seconds();
    tolvane::Bytes body = tolvane::lookup::FetchUrl(argv[1]);
    const double elapsed = Seconds() - start;
    if (elapsed < best) best = elapsed;
    // The stand-in server's pattern: byte i is ((i mod 251) * 7 + 3) mod 251.
    bool intact = body.size() == expected;
    for (unsigned long long k = 0; intact && k < body.size(); k += 4099) {
      intact = body.data()[k] == ((k % 251) * 7 + 3) % 251;
    }
    if (!intact) status = 1;
    std::printf("fetch %d: %.3f s, %llu bytes%s\n", i + 1, elapsed,
                static_cast<unsigned long long>(body.size()), intact ? "" : " (WRONG BODY)");
  }
  PROCESS_MEMORY_COUNTERS after = {};
  after.cb = sizeof after;
  GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
  std::printf("best fetch: %.3f s (%.1f MB/s)\n", best, Megabytes(expected) / best);
  std::printf("working set before: %.1f MB, peak: %.1f MB, peak - before: %.1f MB = %.2f x body\n",
              Megabytes(before.WorkingSetSize), Megabytes(after.PeakWorkingSetSize),
              Megabytes(after.PeakWorkingSetSize - before.WorkingSetSize),
              static_cast<double>(after.PeakWorkingSetSize - before.WorkingSetSize) /
                  static_cast<double>(expected));
  std::printf("peak commit: %.1f MB\n", Megabytes(after.PeakPagefileUsage));
  return status;
}
