#pragma once
// "Save Selected File as list": a text file with one full path per line, each path written
// with its own bytes. Written to a temporary file and renamed into place, so an existing
// list is replaced only by a complete one.

#include <QByteArray>
#include <QString>

#include <vector>

class SearchListFile {
public:
    static inline const QString kDefaultName = QStringLiteral("FolSearchList.TXT");

    // The name the save dialog gave, with ".TXT" added when it has no extension.
    static QString withDefaultExtension(const QString& path);
    // False with *error naming the file and the reason.
    static bool write(const QString& path, const std::vector<QByteArray>& paths, QString* error);
};
