#pragma once
// The program's one allocation path. Every Text, Bytes and other block is obtained here, so
// that running out of memory ends the program the same way wherever it happens.
#include <cstddef>

namespace tolvane {

// Called with the number of bytes asked for when an allocation fails; must not return.
using OutOfMemoryHandler = void (*)(std::size_t bytesAskedFor);

// Installs the handler (the window program installs its fatal stop). Returns the previous one.
// The default handler writes a line to stderr and aborts.
OutOfMemoryHandler SetOutOfMemoryHandler(OutOfMemoryHandler handler);

// Returns a block of at least `size` bytes (a zero size still returns a valid block).
// Never returns null: on failure the out-of-memory handler runs and does not return.
void* AllocateBlock(std::size_t size);

// Grows or shrinks a block from AllocateBlock, keeping its contents; same failure rule.
void* ResizeBlock(void* block, std::size_t size);

// Releases a block from AllocateBlock or ResizeBlock; null is allowed.
void FreeBlock(void* block) noexcept;

// Like AllocateBlock, but returns null on failure instead of stopping: for the few places
// where running out of memory is an ordinary outcome (a read buffer, a decoded picture).
void* TryAllocateBlock(std::size_t size) noexcept;
void* TryResizeBlock(void* block, std::size_t size) noexcept;

struct BlockDeleter {
  void operator()(void* block) const noexcept { FreeBlock(block); }
};

}  // namespace tolvane
