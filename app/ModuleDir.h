#pragma once
// Where the program's own files are (its models, material libraries,
// pictures): beside the program in a build tree, and in ../share/corvane
// of an installed one. Always ends with a separator.

#include <QString>

QString ModuleDirFor(const QString& programDir);
// ModuleDirFor the running program's folder.
QString ModuleDir();

// The movie encoder program: beside the program in a build tree, in
// ../libexec/corvane of an installed one.
QString MovieEncoderProgram();
