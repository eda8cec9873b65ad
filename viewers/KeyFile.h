#pragma once
// The "[Section]" / "Key=Value" text files of the desktop: internet shortcuts (.URL),
// mimeapps.list and desktop entries. The bytes come from anywhere, so the reader is
// bounded: a file larger than the cap is refused whole, lines are split without
// recursion, and a malformed line is skipped, never guessed at.

#include <QByteArray>
#include <QHash>
#include <QString>

class KeyFile {
public:
    // 64 KiB: far above any real shortcut, association list or desktop entry.
    static constexpr qsizetype kMaxSize = 64 * 1024;

    // Parses text; a text over kMaxSize gives an empty, invalid key file.
    static KeyFile parse(const QByteArray& text);
    // Reads at most kMaxSize + 1 bytes of a regular file (FileKinds::readHead) and parses them.
    static KeyFile read(const QString& path);

    bool isValid() const { return m_valid; }
    // The value of key in section (section and key compared exactly, as the desktop
    // specifications say); empty when missing. The first occurrence wins.
    QString value(const QString& section, const QString& key) const;
    bool contains(const QString& section, const QString& key) const;
    // The keys of a section, in file order.
    QStringList keys(const QString& section) const;

private:
    bool m_valid = false;
    QHash<QString, QHash<QString, QString>> m_values;
    QHash<QString, QStringList> m_order;
};
