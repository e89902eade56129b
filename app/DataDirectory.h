#pragma once
// The folder choice's arithmetic, apart from the dialog: tree texts, the
// data files a folder holds, and the folder given on the command line.

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// A name in capitals reads in lower case with a capital first letter
// (PROGRAM FILES: Program files); a name with any lower-case letter stays.
QString MakeDisplayName(const QString& name);
// The data files of a folder: regular files, not hidden, whose extension is
// "dat" in any case, sorted.
QStringList DataFilesIn(const QString& folder);
// A folder as a run folder path: trimmed, ending with a separator (one is
// added where the user left it off); empty when no folder is there.
QString RunFolderOf(const QString& given);
// The folder named by a drop of URLs on a window: the first local folder,
// ending with a separator, else "" (files and remote URLs open nothing).
QString DroppedFolder(const QList<QUrl>& urls);
