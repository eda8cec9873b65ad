#pragma once
// Why the last zip batch ended early, for the window to say once the batch is over: the
// batch loop ends a failed batch without a word, so the branches leave the reason here. A
// branch writes it from the loop's worker; the window reads it after the batch has ended.

#include <QString>

namespace ZipBatchFailure {

void set(const QString& text);
// Adds a line (the per-archive failures of a batch that goes on).
void append(const QString& line);
QString text();

} // namespace ZipBatchFailure
