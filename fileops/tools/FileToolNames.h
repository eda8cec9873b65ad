#pragma once
// The new names the renaming tools give an entry, built from its name (a FileName QString,
// so a name that is not UTF-8 keeps its bytes) and the text typed in the confirmation
// dialog. Pure text work: nothing here touches the file system.

#include <QString>

#include <optional>

namespace FileToolNames {

inline constexpr int kNumberWidth = 6;
inline constexpr int kGroupSize = 500;

// A name split at its last dot: "a.tar.gz" is "a.tar" + ".gz". Leading dots belong to the
// stem, so ".bashrc" has no extension and "..x" neither.
struct SplitName {
    QString stem;
    QString ext; // with its dot; empty when there is none
};
SplitName split(const QString& name);

// stem + "." + extension (a typed leading dot stays: "a..bak").
QString changedExtension(const QString& name, const QString& extension);
// prefix + stem + suffix + ext.
QString appended(const QString& name, const QString& prefix, const QString& suffix);
// The number padded to six digits (a longer one written whole) + ext.
QString numbered(const QString& name, qint64 number);
// stem with every occurrence of search replaced (case-sensitive) + ext. An empty search
// changes nothing.
QString searchReplaced(const QString& name, const QString& search, const QString& replacement);

// The number padded to six digits with leading zeros; longer numbers stay whole.
QString paddedNumber(qint64 number);
// The first number as typed: trimmed digits read as a whole number; nullopt when it is not one.
std::optional<qint64> firstNumber(const QString& text);

// Whether name can stand as one entry of a folder: not empty, not "." or "..", no "/" and no
// NUL (typed text could otherwise move a file out of the target folder).
bool isSingleName(const QString& name);

} // namespace FileToolNames
