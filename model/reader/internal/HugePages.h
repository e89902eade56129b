#pragma once
// Asks for the big tables of a big model to be backed by huge pages where
// the system offers them (as a rule it does on request only): touching fresh
// memory a 4 KiB page at a time costs a fault each, which for a model of a
// million triangles costs more time than reading its text.

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// Only the whole 2 MiB stretches within the range are asked for; a system
// without huge pages ignores the request.
inline void AskHugePages(void* begin, std::size_t bytes) {
  constexpr std::size_t kHuge = std::size_t{2} << 20;
  const std::size_t at = reinterpret_cast<std::uintptr_t>(begin) % kHuge;
  const std::size_t skip = (kHuge - at) % kHuge;  // to the first whole stretch
  if (bytes < skip + kHuge) {
    return;
  }
  ::madvise(static_cast<char*>(begin) + skip, (bytes - skip) / kHuge * kHuge, MADV_HUGEPAGE);
}

// Room for `count` elements in `v`, asked for in huge pages before any is touched.
template <class T>
void ReserveHuge(std::vector<T>& v, std::size_t count) {
  v.reserve(count);
  AskHugePages(v.data(), v.capacity() * sizeof(T));
}
