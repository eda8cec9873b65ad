#pragma once
// Entry names and times as the format stores them. Names: UTF-8 when flag bit 11 says so or
// an Info-ZIP Unicode path field vouches for it, UTF-8 from Unix hosts that wrote valid
// UTF-8 without the flag, and code page 437 otherwise. Times: the DOS date and time pair in
// local time.

#include "format/ZipRecords.h"

#include <QDateTime>
#include <QString>
#include <QTimeZone>

namespace zipfmt {

QString decodeName(const CentralDirectoryHeader& header);
QString decodeCp437(const std::string& bytes);

// The bytes to store and whether flag bit 11 must be set (only for non-ASCII names).
std::string encodeName(const QString& name, bool& utf8);

// One path's components turned into upper-case 8.3 names ("Long File.text" -> "LONGFILE.TEX").
QString toDosName(const QString& path);

void toDosTime(const QDateTime& time, uint16_t& dosTime, uint16_t& dosDate);
QDateTime fromDosTime(uint16_t dosTime, uint16_t dosDate);
// The same time read in zone: a caller converting many times keeps one zone, where local
// time looks the system zone up again for each conversion.
QDateTime fromDosTime(uint16_t dosTime, uint16_t dosDate, const QTimeZone& zone);

// The modification time of the extended-timestamp field (0x5455), when present.
bool extendedModificationTime(const std::string& extra, int64_t& seconds);
std::string extendedTimestampField(int64_t seconds);

} // namespace zipfmt
