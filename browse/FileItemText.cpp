#include "browse/FileItemText.h"

#include "browse/FileAttributes.h"
#include "browse/FileListing.h"

FileItemText::FileItemText(const QLocale& locale)
    : m_locale(locale)
    , m_time(m_dateFormat, m_timeFormat, locale)
{
}

void FileItemText::setTimeFormat(TDtFormat date, TTmFormat time)
{
    m_dateFormat = date;
    m_timeFormat = time;
    m_time = FileTimeFormat(date, time, m_locale);
}

void FileItemText::setParentDirCaption(const QString& caption)
{
    const QString trimmed = caption.trimmed();
    if (trimmed.compare(m_parentDirCaption.trimmed(), Qt::CaseInsensitive) != 0)
        m_parentDirCaption = QLatin1Char(' ') + trimmed;
}

QString FileItemText::caption(const FileListing& listing, int row) const
{
    const TFileInfo& item = listing.at(row);
    if (item.kind == ItemKind::Parent)
        return m_parentDirCaption;
    if (m_hideFileExt && item.kind == ItemKind::File) {
        const qsizetype dot = item.Name.view().lastIndexOf(QLatin1Char('.'));
        if (dot > 0)
            return item.Name.view().left(dot).toString();
    }
    return item.Name.toString();
}

QString FileItemText::dateText(const FileListing& listing, int row) const
{
    const TFileInfo& item = listing.at(row);
    return item.hasTime ? m_time.format(item.mtimeSeconds) : QString();
}

QString FileItemText::subItem(FileListing& listing, int row, int index, FileTypeNames& typeNames) const
{
    const TFileInfo& item = listing.at(row);
    const QString blank = QStringLiteral(" ");
    if (index == 4)
        return listing.fullPath(row);
    if (item.kind == ItemKind::Drive) {
        switch (index) {
        case 0: return item.TypeName;
        case 1: return FileFormat::driveMegabytes(item.Size, m_locale);
        case 2: return FileFormat::driveMegabytes(item.Free, m_locale);
        case 3:
        case 5: return blank;
        default: return QString();
        }
    }
    if (index == 5)
        return FileListing::kindText(item.kind);
    if (index == 6)
        return item.hasTime ? FileFormat::dateKey(item.mtimeSeconds, item.mtimeNanoseconds, m_locale) : QString();
    if (item.kind == ItemKind::Parent)
        return index >= 0 && index <= 3 ? blank : QString();
    if (!item.hasDetails && index != 1)
        return index >= 0 && index <= 3 ? blank : QString(); // the stat is on its way
    switch (index) {
    case 0: return item.kind == ItemKind::Folder ? blank : FileFormat::sizeColumn(item.Size, m_fileSize);
    case 1: return listing.typeNameOf(row, typeNames);
    case 2: return dateText(listing, row);
    case 3: return FileAttributes::letters(item.Attributes);
    default: return QString();
    }
}
