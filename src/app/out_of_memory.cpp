// Memory that cannot be had ends the program with a message that names the
// size asked for, instead of an exception nobody catches. Linked into the
// program only: tests keep the standard allocator.
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <new>

#include "app/program.h"

namespace {

void* AllocateOrStop(std::size_t size) {
  if (size == 0) size = 1;
  if (void* p = std::malloc(size)) return p;
  // Built in a fixed buffer: the heap is what just failed.
  char what[96] = "out of memory (";
  char* end = std::to_chars(what + 15, what + 60, size).ptr;
  const char tail[] = " bytes could not be allocated).";
  std::memcpy(end, tail, sizeof tail);
  quorvant::FatalStop(what);
}

}  // namespace

void* operator new(std::size_t size) { return AllocateOrStop(size); }
void* operator new[](std::size_t size) { return AllocateOrStop(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
