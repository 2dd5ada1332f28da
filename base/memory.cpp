#include "base/memory.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace tolvane {
namespace {

[[noreturn]] void AbortOutOfMemory(std::size_t bytesAskedFor) {
  std::fprintf(stderr, "out of memory: %zu bytes\n", bytesAskedFor);
  std::abort();
}

std::atomic<OutOfMemoryHandler> outOfMemoryHandler{&AbortOutOfMemory};

[[noreturn]] void StopOutOfMemory(std::size_t size) {
  outOfMemoryHandler.load()(size);
  std::abort();  // a handler must not return
}

}  // namespace

OutOfMemoryHandler SetOutOfMemoryHandler(OutOfMemoryHandler handler) {
  return outOfMemoryHandler.exchange(handler ? handler : &AbortOutOfMemory);
}

void* TryAllocateBlock(std::size_t size) noexcept { return std::malloc(size ? size : 1); }

void* TryResizeBlock(void* block, std::size_t size) noexcept {
  return std::realloc(block, size ? size : 1);
}

void* AllocateBlock(std::size_t size) {
  void* block = TryAllocateBlock(size);
  if (!block) StopOutOfMemory(size);
  return block;
}

void* ResizeBlock(void* block, std::size_t size) {
  void* resized = TryResizeBlock(block, size);
  if (!resized) StopOutOfMemory(size);
  return resized;
}

void FreeBlock(void* block) noexcept { std::free(block); }

}  // namespace tolvane
