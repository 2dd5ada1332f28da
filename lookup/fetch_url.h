#pragma once
// The program's only network operation: one HTTP GET, the response body as Bytes.
#include "base/text.h"

namespace tolvane::lookup {

// Downloads `address` (http or https) and returns the response body, whatever the status.
// Empty Bytes for every failure before the body is read; a transfer broken off half-way
// returns the bytes that arrived. Blocks the calling thread; never reports anything.
Bytes FetchUrl(const char* address);

// True once the process-wide internet session has been opened (it stays open until the
// process's static clean-up closes it).
bool FetchSessionIsOpen();
// The open session's handle (null while absent), so that a caller can tell that later
// fetches reuse it.
const void* FetchSessionHandle();

}  // namespace tolvane::lookup
