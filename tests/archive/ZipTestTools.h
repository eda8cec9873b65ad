#pragma once
// Helpers for the zip tests: running the peer tools (unzip, zip, 7z, bsdtar, python3's
// zipfile) and comparing folder trees byte for byte.

#include <QByteArray>
#include <QString>
#include <QStringList>

struct ToolRun {
    int exitCode = -1;
    QByteArray output; // stdout and stderr together
};

ToolRun runTool(const QString& program, const QStringList& args, const QString& workingDir = QString(),
                const QByteArray& input = QByteArray());
// Runs a python3 script with the given arguments (sys.argv[1:]).
ToolRun runPython(const QString& script, const QStringList& args = {});
// Files (relative path -> bytes) under a folder; links as "-> target".
QMap<QString, QByteArray> treeContents(const QString& folder);
// Every file, folder and link under root, relative ("a/b.txt").
QStringList listTree(const QString& root);
QString fvtoolPath();
QString stubPath(const QString& name);
// A small tree with text, binary, an empty folder and a non-ASCII name.
void makeSampleTree(const QString& root);
