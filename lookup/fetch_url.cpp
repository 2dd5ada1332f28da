// FetchUrl on WinINet.
#include "lookup/fetch_url.h"

#include <windows.h>
#include <wininet.h>

#include <cstring>

#include "base/memory.h"
#include "lookup/fetch_address.h"

namespace tolvane::lookup {
namespace {

constexpr char kAgentName[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr char kAcceptHeader[] = "Accept: */*\r\n\r\n";
constexpr DWORD kCanonicalBufferSize = 2084;
constexpr DWORD kHostRoom = 256, kUserNameRoom = 128, kPasswordRoom = 128, kPathRoom = 2048;
constexpr DWORD kHttpRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
constexpr DWORD kHttpsRequestFlags = kHttpRequestFlags | INTERNET_FLAG_SECURE;
static_assert(kHttpRequestFlags == 0x84000000 && kHttpsRequestFlags == 0x84800000);

// WinINet's entry points, loaded with the library at the first fetch rather than at start-up:
// loading it costs the window's first appearance about 90 ms and 1.7 MB under Wine, and a
// program that is only opened and closed never needs it.
struct WinInet {
  decltype(&InternetCanonicalizeUrlA) CanonicalizeUrl = nullptr;
  decltype(&InternetCrackUrlA) CrackUrl = nullptr;
  decltype(&InternetOpenA) Open = nullptr;
  decltype(&InternetConnectA) Connect = nullptr;
  decltype(&InternetSetOptionA) SetOption = nullptr;
  decltype(&HttpOpenRequestA) OpenRequest = nullptr;
  decltype(&HttpSendRequestA) SendRequest = nullptr;
  decltype(&HttpQueryInfoA) QueryInfo = nullptr;
  decltype(&InternetReadFile) ReadFile = nullptr;
  decltype(&InternetCloseHandle) CloseHandle = nullptr;
  bool loaded = false;
};

template <typename Function>
bool Resolve(HMODULE module, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return function != nullptr;
}

// The loaded entry points, or null when the library cannot be loaded (the fetch then fails
// like any other). The library stays loaded for the rest of the process.
const WinInet* LoadWinInet() {
  static const WinInet winInet = [] {
    WinInet functions;
    HMODULE module = LoadLibraryA("wininet.dll");
    if (!module) return functions;
    functions.loaded =
        Resolve(module, "InternetCanonicalizeUrlA", functions.CanonicalizeUrl) &&
        Resolve(module, "InternetCrackUrlA", functions.CrackUrl) &&
        Resolve(module, "InternetOpenA", functions.Open) &&
        Resolve(module, "InternetConnectA", functions.Connect) &&
        Resolve(module, "InternetSetOptionA", functions.SetOption) &&
        Resolve(module, "HttpOpenRequestA", functions.OpenRequest) &&
        Resolve(module, "HttpSendRequestA", functions.SendRequest) &&
        Resolve(module, "HttpQueryInfoA", functions.QueryInfo) &&
        Resolve(module, "InternetReadFile", functions.ReadFile) &&
        Resolve(module, "InternetCloseHandle", functions.CloseHandle);
    return functions;
  }();
  return winInet.loaded ? &winInet : nullptr;
}

// Closes a WinINet handle when it goes out of scope.
class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle = nullptr) : handle_(handle) {}
  ~InternetHandle() { Close(); }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Close() {
    // A handle exists only once the library was loaded.
    if (handle_) LoadWinInet()->CloseHandle(handle_);
    handle_ = nullptr;
  }
  void Reset(HINTERNET handle) {
    Close();
    handle_ = handle;
  }

 private:
  HINTERNET handle_;
};

// The process's one internet session: opened by the first fetch that needs it, closed by
// static clean-up at normal process exit (not after a fatal stop, which skips it).
InternetHandle& FetchSession() {
  static InternetHandle session;
  return session;
}

// A block from the one allocation path, freed when it goes out of scope.
struct ScopedBlock {
  void* block = nullptr;
  ~ScopedBlock() { FreeBlock(block); }
};

// InternetCanonicalizeUrlA with ICU_NO_ENCODE: resolves "." and ".." segments, leaves escapes
// and other bytes alone. Empty when it fails; one retry with the size that the call names.
Text Canonicalize(const WinInet& inet, const char* address) {
  char first[kCanonicalBufferSize];
  DWORD size = sizeof first;
  if (inet.CanonicalizeUrl(address, first, &size, ICU_NO_ENCODE)) {
    return TryCopyText(first, std::strlen(first));
  }
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return Text();
  ScopedBlock second;
  second.block = TryAllocateBlock(size + 1);
  if (!second.block) return Text();
  char* buffer = static_cast<char*>(second.block);
  DWORD secondSize = size;
  if (!inet.CanonicalizeUrl(address, buffer, &secondSize, ICU_NO_ENCODE)) return Text();
  buffer[size] = '\0';
  return TryCopyText(buffer, std::strlen(buffer));
}

}  // namespace

bool FetchSessionIsOpen() { return static_cast<bool>(FetchSession()); }

const void* FetchSessionHandle() { return FetchSession().get(); }

Bytes FetchUrl(const char* address) {
  // The fragment goes first. Bytes a request line cannot carry travel as %XX of the same value:
  // the HTTP layer converts the target through UTF-16 in the ANSI code page (GBK bytes would
  // not come out as they went in), and a CR or LF from a page must never split the request.
  const Text prepared = PrepareFetchAddress(address);
  if (prepared.empty()) return Bytes();

  const WinInet* loaded = LoadWinInet();
  if (!loaded) return Bytes();
  const WinInet& inet = *loaded;

  const Text canonical = Canonicalize(inet, prepared.c_str());
  if (canonical.empty()) return Bytes();

  char host[kHostRoom] = {}, userName[kUserNameRoom] = {}, password[kPasswordRoom] = {},
       path[kPathRoom] = {};
  URL_COMPONENTSA parts = {};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = kHostRoom;
  parts.lpszUserName = userName;
  parts.dwUserNameLength = kUserNameRoom;
  parts.lpszPassword = password;
  parts.dwPasswordLength = kPasswordRoom;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = kPathRoom;
  if (!inet.CrackUrl(canonical.c_str(), 0, 0, &parts)) return Bytes();

  DWORD requestFlags;
  switch (parts.nScheme) {
    case INTERNET_SCHEME_HTTP: requestFlags = kHttpRequestFlags; break;
    case INTERNET_SCHEME_HTTPS: requestFlags = kHttpsRequestFlags; break;
    default: return Bytes();
  }

  InternetHandle& session = FetchSession();
  if (!session) {
    session.Reset(inet.Open(kAgentName, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session) return Bytes();
  }

  InternetHandle connection(inet.Connect(session.get(), host, parts.nPort, userName, password,
                                         INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return Bytes();

  // The system's configured proxy applies to every request; Wine does not implement this
  // option on a session handle, so there requests go direct.
  INTERNET_PROXY_INFO proxy = {};
  proxy.dwAccessType = INTERNET_OPEN_TYPE_PRECONFIG;
  inet.SetOption(session.get(), INTERNET_OPTION_PROXY, &proxy, sizeof proxy);
  char empty[1] = "";
  inet.SetOption(connection.get(), INTERNET_OPTION_PROXY_USERNAME, empty, 1);
  inet.SetOption(connection.get(), INTERNET_OPTION_PROXY_PASSWORD, empty, 1);

  const char* acceptTypes[] = {"*/*", nullptr};
  InternetHandle request(inet.OpenRequest(connection.get(), "GET", path, "HTTP/1.0", nullptr,
                                          acceptTypes, requestFlags, 0));
  if (!request) return Bytes();

  if (!inet.SendRequest(request.get(), kAcceptHeader, sizeof kAcceptHeader - 1, nullptr, 0)) {
    return Bytes();
  }

  char contentLength[32];
  DWORD contentLengthSize = sizeof contentLength;
  const bool haveLength = inet.QueryInfo(request.get(), HTTP_QUERY_CONTENT_LENGTH, contentLength,
                                         &contentLengthSize, nullptr);
  if (haveLength) {
    contentLength[contentLengthSize < sizeof contentLength ? contentLengthSize : 31] = '\0';
  }
  const int readSize = ReadSizeForContentLength(haveLength ? contentLength : nullptr);

  BodyBuffer body;
  ScopedBlock readBuffer;
  readBuffer.block = TryAllocateBlock(static_cast<std::size_t>(readSize));
  if (readBuffer.block) {
    body.Reserve(haveLength ? ContentLengthValue(contentLength) : 0);
    for (;;) {
      DWORD received = 0;
      if (!inet.ReadFile(request.get(), readBuffer.block, static_cast<DWORD>(readSize),
                            &received)) {
        break;
      }
      if (received == 0) break;
      // Memory for the body ran out: keep what arrived, as for a broken transfer.
      if (!body.Append(readBuffer.block, received)) break;
    }
  }
  FreeBlock(readBuffer.block);
  readBuffer.block = nullptr;
  request.Close();
  connection.Close();
  return body.TakeBytes();
}

}  // namespace tolvane::lookup
