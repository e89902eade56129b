#pragma once
// A buffer reserved for what a file may hold is filled front to back, and
// each new page it reaches would cost a fault of its own. Its pages are given
// instead a stretch at a time, in one call, just before writes reach them;
// a system that cannot leaves them to the faults.

#include <sys/mman.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>

// Asks for the buffer [p, p + bytes) to be given large pages (2 MiB where the
// system offers them): a buffer filled from a file then costs one fault and
// one page-table entry per 2 MiB rather than per 4 KiB. Only whole large
// pages inside it are asked for; a system without them goes on as before.
inline void AskLargePages(const void* p, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
  constexpr std::size_t kLarge = std::size_t{2} << 20;
  char* const begin = static_cast<char*>(const_cast<void*>(p));
  const std::size_t lead = (kLarge - reinterpret_cast<std::uintptr_t>(begin) % kLarge) % kLarge;
  if (bytes > lead && bytes - lead >= kLarge) {
    ::madvise(begin + lead, (bytes - lead) / kLarge * kLarge, MADV_HUGEPAGE);
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
    const char* at = static_cast<const char*>(next);
    if (std::less<const char*>{}(at, m_ready)) [[likely]] {
      return;
    }
    Give(const_cast<char*>(at), static_cast<const char*>(end));
  }

 private:
  void Give(char* at, const char* end) {
    // Whole pages only, from the first that starts at or after `at`: the
    // page `at` is in faults as ever.
    const std::size_t lead = (kPage - reinterpret_cast<std::uintptr_t>(at) % kPage) % kPage;
    const std::size_t span = std::min(static_cast<std::size_t>(end - at), kStretch);
    const std::size_t pages = span > lead ? (span - lead) / kPage * kPage : 0;
#ifdef MADV_POPULATE_WRITE
    if (pages > 0) {
      ::madvise(at + lead, pages, MADV_POPULATE_WRITE);
    }
#endif
    m_ready = pages > 0 ? at + lead + pages : at + span;
  }

  const char* m_ready = nullptr;  // writes below this have their pages
};
