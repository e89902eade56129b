#pragma once
// Writing a file the user asked for whole or not at all. The bytes go to a
// temporary file beside the target, each write checked to its end, then to
// the disk (fsync), and only then does the temporary take the target's name.
// A full disk or any other failure leaves the earlier file as it was, byte
// for byte, and removes the temporary. A symbolic link at the target is
// replaced by the new file; whatever it pointed to is untouched. A target
// that exists and is neither a regular file nor a link (a device, a folder)
// is refused.

#include <QByteArray>
#include <QString>

// True when written; else false with `error` set to "cannot write PATH:
// REASON".
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error);
