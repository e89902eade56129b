#pragma once
// Abandoning a load that is under way. A thread that loads a run puts a
// CLoadCancelScope on its stack; from then on the line readers of that thread
// (and of the helper threads it starts for the big tables) stop reading as
// soon as the flag is set, so an abandoned load of a huge run ends within one
// buffer instead of reading every byte. What such a load leaves is thrown away.

#include <atomic>

class CLoadCancelScope {
 public:
  explicit CLoadCancelScope(const std::atomic<bool>* flag) : m_pPrevious(t_pFlag) { t_pFlag = flag; }
  ~CLoadCancelScope() { t_pFlag = m_pPrevious; }
  CLoadCancelScope(const CLoadCancelScope&) = delete;
  CLoadCancelScope& operator=(const CLoadCancelScope&) = delete;

  // The flag that governs this thread (null: none); helpers take it over.
  static const std::atomic<bool>* Current() { return t_pFlag; }
  static bool Cancelled() { return t_pFlag && t_pFlag->load(std::memory_order_relaxed); }

 private:
  static inline thread_local const std::atomic<bool>* t_pFlag = nullptr;
  const std::atomic<bool>* m_pPrevious;
};
