#pragma once
// A buffer reserved for what a file may hold is filled front to back, and
// each new page it reaches would cost a fault of its own. Its pages are given
// instead a stretch at a time, in one call, just before writes reach them;
// a system that cannot leaves them to the faults.

#include <sys/mman.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

// Asks for the buffer [p, p + bytes) to be given large pages (2 MiB where the
// system offers them): a buffer filled from a file then costs one fault and
// one page-table entry per 2 MiB rather than per 4 KiB. Only whole large
// pages inside it are asked for; a system without them goes on as before.
inline void AskLargePages(const void* p, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
  constexpr std::uintptr_t kLarge = std::uintptr_t{2} << 20;
  const auto begin = reinterpret_cast<std::uintptr_t>(p);
  const std::uintptr_t from = (begin + kLarge - 1) & ~(kLarge - 1);
  const std::uintptr_t to = (begin + bytes) & ~(kLarge - 1);
  if (to > from) {
    ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
  }
#endif
}

class CPagesAhead {
 public:
  static constexpr std::size_t kStretch = std::size_t{256} << 10, kPage = 4096;

  // Called before writing at `next`, in a buffer that ends at `end`: gives
  // the pages from there up to a stretch ahead, when `next` has passed the
  // last stretch given.
  [[gnu::always_inline]] void Reach(const void* next, const void* end) {
    const auto at = reinterpret_cast<std::uintptr_t>(next);
    if (at < m_ready) [[likely]] {
      return;
    }
    Give(at, reinterpret_cast<std::uintptr_t>(end));
  }

 private:
  void Give(std::uintptr_t at, std::uintptr_t end) {
    // From the page `at` starts in to the page the stretch ends in.
    const std::uintptr_t from = at - at % kPage;
    const std::uintptr_t stop = std::min(end, at + kStretch);
    const std::uintptr_t to = stop - stop % kPage;
#ifdef MADV_POPULATE_WRITE
    if (to > from) {
      ::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
    }
#endif
    m_ready = std::max(to, at + 1);
  }

  std::uintptr_t m_ready = 0;  // writes below this have their pages
};
