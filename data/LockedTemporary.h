#pragma once
// A temporary file beside the file it will become, held by its writer's lock
// for as long as it is written. A writer that is killed leaves its temporary
// behind, but not its lock: the next writer to that name (or whoever
// survives) removes every such temporary that no living process holds, and
// never one that another viewer, movie or batch task is still writing.

#include <QByteArray>
#include <QString>
#include <cstddef>

class CLockedTemporary {
 public:
  CLockedTemporary() = default;
  // A temporary not committed is removed.
  ~CLockedTemporary();
  CLockedTemporary(const CLockedTemporary&) = delete;
  CLockedTemporary& operator=(const CLockedTemporary&) = delete;

  // Makes a new file `folder`/`prefix`XXXXXX`suffix` (six random characters),
  // readable and writable by its owner alone, and takes its lock. False with
  // errno set when it cannot be made.
  bool Create(const QString& folder, const QString& prefix, const QString& suffix);
  QString Path() const { return m_path; }
  int Fd() const { return m_fd; }

  // Writes all of [data, data + size): false with errno set (ENOSPC when the
  // disk took nothing) when it did not.
  bool Write(const char* data, std::size_t size);
  // Gives the file the mode a new file gets (the umask's), brings it to the
  // disk and renames it to `target` in one step: a link at `target` is
  // replaced, whatever it pointed to is untouched. False with errno set, the
  // temporary removed.
  bool CommitTo(const QString& target);
  // Removes the temporary (unless committed) and lets its lock go.
  void Discard();

 private:
  int m_fd = -1;
  QString m_path;
  QByteArray m_native;
};

// Removes from `folder` the temporaries `prefix`XXXXXX`suffix` that no living
// writer holds (their writers were killed). Returns how many it removed.
int RemoveAbandonedTemporaries(const QString& folder, const QString& prefix, const QString& suffix);
