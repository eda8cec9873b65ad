#pragma once
// The file search's name test. A pattern without "*" or "?" matches a name that contains it,
// letter case ignored ("report" finds "Q3 REPORT.doc"); a pattern with wildcards is a file
// mask as the file list uses it (platform/FileMask: case ignored, ";" separates masks, "*.*"
// takes every name). Names are bytes: an ASCII name against an ASCII pattern is compared
// byte by byte with ASCII case folding (the common case, and the fast one); any other name
// is decoded losslessly and compared as text, so both paths give the same answer.

#include "platform/FileMask.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <vector>

class NameMatcher {
public:
    explicit NameMatcher(const QString& pattern);

    bool hasWildcards() const { return m_wildcards; }
    bool matches(QByteArrayView name) const;

    static bool hasWildcards(const QString& pattern);

private:
    bool matchesText(QByteArrayView name) const;

    QString m_pattern;
    bool m_wildcards = false;
    FileMask m_mask;
    bool m_asciiPattern = false;
    // The case-folded ASCII forms of the substring or of each mask part.
    std::vector<QByteArray> m_asciiParts;
};
