#include "viewers/KeyFile.h"

#include "viewers/FileKinds.h"

#include <QStringList>

KeyFile KeyFile::parse(const QByteArray& text)
{
    KeyFile file;
    if (text.size() > kMaxSize)
        return file;
    file.m_valid = true;
    QString section;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            // A header without its closing bracket names no section: its keys are skipped.
            section = line.endsWith(QLatin1Char(']')) ? line.mid(1, line.size() - 2) : QString();
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || section.isEmpty())
            continue;
        const QString key = line.left(eq).trimmed();
        QHash<QString, QString>& values = file.m_values[section];
        if (values.contains(key))
            continue;
        values.insert(key, line.mid(eq + 1).trimmed());
        file.m_order[section].append(key);
    }
    return file;
}

KeyFile KeyFile::read(const QString& path)
{
    const std::optional<QByteArray> bytes = FileKinds::readHead(path, kMaxSize + 1);
    return bytes ? parse(*bytes) : KeyFile();
}

QString KeyFile::value(const QString& section, const QString& key) const
{
    return m_values.value(section).value(key);
}

bool KeyFile::contains(const QString& section, const QString& key) const
{
    const auto it = m_values.constFind(section);
    return it != m_values.cend() && it->contains(key);
}

QStringList KeyFile::keys(const QString& section) const
{
    return m_order.value(section);
}
