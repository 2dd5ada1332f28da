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
    if (handle_) InternetCloseHandle(handle_);
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
Text Canonicalize(const char* address) {
  char first[kCanonicalBufferSize];
  DWORD size = sizeof first;
  if (InternetCanonicalizeUrlA(address, first, &size, ICU_NO_ENCODE)) {
    return TryCopyText(first, std::strlen(first));
  }
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return Text();
  ScopedBlock second;
  second.block = TryAllocateBlock(size + 1);
  if (!second.block) return Text();
  char* buffer = static_cast<char*>(second.block);
  DWORD secondSize = size;
  if (!InternetCanonicalizeUrlA(address, buffer, &secondSize, ICU_NO_ENCODE)) return Text();
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

  const Text canonical = Canonicalize(prepared.c_str());
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
  if (!InternetCrackUrlA(canonical.c_str(), 0, 0, &parts)) return Bytes();

  DWORD requestFlags;
  switch (parts.nScheme) {
    case INTERNET_SCHEME_HTTP: requestFlags = kHttpRequestFlags; break;
    case INTERNET_SCHEME_HTTPS: requestFlags = kHttpsRequestFlags; break;
    default: return Bytes();
  }

  InternetHandle& session = FetchSession();
  if (!session) {
    session.Reset(InternetOpenA(kAgentName, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session) return Bytes();
  }

  InternetHandle connection(InternetConnectA(session.get(), host, parts.nPort, userName,
                                             password, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return Bytes();

  // The system's configured proxy applies to every request; Wine does not implement this
  // option on a session handle, so there requests go direct.
  INTERNET_PROXY_INFO proxy = {};
  proxy.dwAccessType = INTERNET_OPEN_TYPE_PRECONFIG;
  InternetSetOptionA(session.get(), INTERNET_OPTION_PROXY, &proxy, sizeof proxy);
  char empty[1] = "";
  InternetSetOptionA(connection.get(), INTERNET_OPTION_PROXY_USERNAME, empty, 1);
  InternetSetOptionA(connection.get(), INTERNET_OPTION_PROXY_PASSWORD, empty, 1);

  const char* acceptTypes[] = {"*/*", nullptr};
  InternetHandle request(HttpOpenRequestA(connection.get(), "GET", path, "HTTP/1.0", nullptr,
                                          acceptTypes, requestFlags, 0));
  if (!request) return Bytes();

  if (!HttpSendRequestA(request.get(), kAcceptHeader, sizeof kAcceptHeader - 1, nullptr, 0)) {
    return Bytes();
  }

  char contentLength[32];
  DWORD contentLengthSize = sizeof contentLength;
  const bool haveLength = HttpQueryInfoA(request.get(), HTTP_QUERY_CONTENT_LENGTH,
                                         contentLength, &contentLengthSize, nullptr);
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
      if (!InternetReadFile(request.get(), readBuffer.block, static_cast<DWORD>(readSize),
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
