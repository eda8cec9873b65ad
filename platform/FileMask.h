#pragma once
// A list of file name masks separated by ";" ("*.txt;*.c"). The whole text is trimmed and
// an empty text means "*.*"; each part is used as it stands, blanks inside included. "*"
// matches any run of characters, "?" one character, and letter case is ignored. As on the
// platforms the masks come from, "*.*" matches every name, also one without a dot.

#include <QString>
#include <QStringList>

class FileMask {
public:
    explicit FileMask(const QString& text = QString());

    bool matches(const QString& name) const;
    bool matchesEverything() const { return m_everything; }
    const QStringList& parts() const { return m_parts; }

private:
    QStringList m_parts; // case-folded
    bool m_everything = false;
};
