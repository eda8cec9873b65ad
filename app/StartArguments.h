#pragma once
// A path given on the command line (by the user, or by the desktop through "Exec=folvane3 %U"):
// a folder to open, or a file whose folder opens with the file selected. A file:// URL works
// the same; a relative path is taken from the folder the program was started in. Paths keep
// their bytes (FileName), also inside a URL.

#include <QString>
#include <QStringList>

struct StartTarget {
    QString folder;  // without a trailing "/"; empty: no path was given
    QString item;    // the file to select, empty for a folder
    QString error;   // why the argument could not be used, for the user

    bool isEmpty() const { return folder.isEmpty(); }
    bool operator==(const StartTarget&) const = default;

    // The bytes carried over the single-instance socket, and back.
    QByteArray toMessage() const;
    static StartTarget fromMessage(const QByteArray& message);
};

class StartArguments {
public:
    // arguments: the program's arguments after its name (options are left out; the first
    // path counts). workingFolder: where a relative path is taken from.
    static StartTarget parse(const QStringList& arguments, const QString& workingFolder);
    // One path or URL.
    static StartTarget target(const QString& argument, const QString& workingFolder);
};
