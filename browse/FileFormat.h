#pragma once
// Size texts of the browse panes and of the status bar.

#include <QLocale>
#include <QString>

#include <cstdint>

enum class TFileSize { fsKB, fsByte };

// "999.00 Bytes", "0.98 KB", "1.00 MB", "4.00 GB": two decimals with the locale's group
// separator and decimal mark; bytes below 1000, KB below 1,048,576, MB below 1 GiB.
QString FormatFileSize(int64_t size, const QLocale& locale = QLocale());

namespace FileFormat {

// The size column of a file: its byte count in digits (fsByte), or whole kilobytes with
// " KB" where any size from 1 to 1023 bytes counts as one kilobyte (fsKB).
QString sizeColumn(int64_t size, TFileSize unit);

// A drive's size given in kilobytes as whole megabytes: "#,##0 Mb".
QString driveMegabytes(int64_t kilobytes, const QLocale& locale = QLocale());

// The date key of the list's sub-item 6: the time as a count of 100-nanosecond units since
// 1601, written with 15 significant digits in general format ("1.33450944E17"), with the
// locale's decimal mark. Kept for readers of that sub-item; sorting uses the time itself.
QString dateKey(int64_t seconds, uint32_t nanoseconds, const QLocale& locale = QLocale());

} // namespace FileFormat
