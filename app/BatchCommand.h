#pragma once
// `corvane --batch FILE`: every output a batch file lists (BatchFile.h),
// each run loaded once for all its outputs. Every output is checked before
// any is made: a wrong one exits with 2, naming the output and the key, and
// nothing is written. An output that fails while the batch runs is said and
// the others go on; a progress line per output ("[3/20] fig3.pdf") and a
// summary at the end, on standard error.

#include <QString>

// 0 when every output was written; 1 when one or more failed; 2 when the
// batch file or an output in it is wrong. With `tasks` above 1, only the
// outputs of share `task` (BatchShares.h), though the whole file is checked.
int RunBatchCommand(const QString& path, int task = 0, int tasks = 1);
