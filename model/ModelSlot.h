#pragma once
// Handing a model built on a worker thread over to the drawing thread: the
// slot publishes a fully loaded object with one atomic store (release) that
// readers see with an atomic load (acquire); it owns what it holds. The job
// runs a loader on its own thread, which its owner joins before going away.
// Neither uses Qt, so the hand-over can be checked under ThreadSanitizer.

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "ThreadName.h"

template <class T>
class CModelSlot {
 public:
  CModelSlot() = default;
  CModelSlot(const CModelSlot&) = delete;
  CModelSlot& operator=(const CModelSlot&) = delete;
  ~CModelSlot() { delete m_ptr.load(std::memory_order_acquire); }

  // The published object, or null before one is installed.
  T* Get() const { return m_ptr.load(std::memory_order_acquire); }
  explicit operator bool() const { return Get() != nullptr; }
  T* operator->() const { return Get(); }

  // Installs `object` if the slot is still empty; a slot is filled once.
  bool Publish(std::unique_ptr<T> object) {
    T* expected = nullptr;
    if (!m_ptr.compare_exchange_strong(expected, object.get(), std::memory_order_acq_rel)) {
      return false;
    }
    static_cast<void>(object.release());  // the slot owns it now
    return true;
  }
  // Takes the object back (drawing thread only, with no loader running).
  std::unique_ptr<T> Take() { return std::unique_ptr<T>(m_ptr.exchange(nullptr, std::memory_order_acq_rel)); }

 private:
  std::atomic<T*> m_ptr{nullptr};
};

class CBackgroundJob {
 public:
  CBackgroundJob() = default;
  CBackgroundJob(const CBackgroundJob&) = delete;
  CBackgroundJob& operator=(const CBackgroundJob&) = delete;
  ~CBackgroundJob() { Join(); }

  // Starts `job` on a new thread unless one was started before.
  bool Start(std::function<void()> job) {
    if (m_started) {
      return false;
    }
    m_started = true;
    m_thread = std::thread([this, job = std::move(job)] {
      NameThisThread("corvane-job");
      job();
      m_done.store(true, std::memory_order_release);
    });
    return true;
  }
  bool Started() const { return m_started; }
  bool Done() const { return m_done.load(std::memory_order_acquire); }
  // Started and not joined yet (its thread may still run).
  bool Running() const { return m_thread.joinable(); }
  void Join() {
    if (m_thread.joinable()) {
      m_thread.join();
    }
  }

 private:
  std::thread m_thread;
  bool m_started = false;
  std::atomic<bool> m_done{false};
};
