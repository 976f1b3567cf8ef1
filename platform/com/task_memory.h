// The task allocator: texts and byte blocks that a component hands out are allocated here and the
// receiver frees them with CoTaskMemFree. Every live block is tracked, so tests can prove that the
// program frees exactly what it is given, and freeing a pointer the allocator never gave out
// stops the process at once instead of corrupting memory later.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace com {

// A block of at least `bytes` bytes (a zero-byte request still gives a distinct pointer), or null
// when memory runs out.
void* CoTaskMemAlloc(std::size_t bytes);
// Frees a block from CoTaskMemAlloc; null is ignored.
void CoTaskMemFree(void* block);

// A task-allocated copy of text with a terminating zero; null when memory runs out.
char* TaskStrDup(std::string_view text);
// A task-allocated copy of the bytes; null when memory runs out or bytes is empty, since an empty
// block carries nothing the receiver would free.
std::uint8_t* TaskMemDup(std::span<const std::uint8_t> bytes);

// Blocks allocated and not yet freed, and their total size.
std::size_t TaskMemLiveBlocks();
std::size_t TaskMemLiveBytes();

}  // namespace com
