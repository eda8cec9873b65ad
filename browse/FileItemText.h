#pragma once
// The texts of one row of the file list, as the list view and other readers see them:
// the caption and sub-items 0 to 6.
//
//   sub-item  file or folder   parent entry   drive
//   0         size text        " "            type name
//   1         type name        " "            total size "#,##0 Mb"
//   2         date text        " "            free space "#,##0 Mb"
//   3         attribute letters " "           " "
//   4         full path        full path      mount point
//   5         "file" / "dir"   "dir"          " "
//   6         date key         date key       (none)

#include "browse/FileFormat.h"
#include "browse/FileTimeFormat.h"

#include <QLocale>
#include <QString>

class FileListing;
class FileTypeNames;

class FileItemText {
public:
    explicit FileItemText(const QLocale& locale = QLocale());

    void setFileSize(TFileSize unit) { m_fileSize = unit; }
    TFileSize fileSize() const { return m_fileSize; }
    void setTimeFormat(TDtFormat date, TTmFormat time);
    TDtFormat dateFormat() const { return m_dateFormat; }
    TTmFormat timeFormat() const { return m_timeFormat; }
    void setHideFileExt(bool hide) { m_hideFileExt = hide; }
    bool hideFileExt() const { return m_hideFileExt; }
    // The parent entry's caption is stored as one blank followed by the trimmed text.
    void setParentDirCaption(const QString& caption);
    QString parentDirCaption() const { return m_parentDirCaption; }

    QString caption(const FileListing& listing, int row) const;
    // Sub-item `index` of the row; sub-item 1 of a file asks `typeNames` once per row.
    QString subItem(FileListing& listing, int row, int index, FileTypeNames& typeNames) const;
    QString dateText(const FileListing& listing, int row) const;

    static constexpr int subItemCount = 7;

private:
    QLocale m_locale;
    TFileSize m_fileSize = TFileSize::fsKB;
    TDtFormat m_dateFormat = TDtFormat::df_Customize;
    TTmFormat m_timeFormat = TTmFormat::tfShortFormat;
    FileTimeFormat m_time;
    bool m_hideFileExt = false;
    QString m_parentDirCaption = QString(QChar(1));
};
