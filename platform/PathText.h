#pragma once
// Text operations on "/"-separated paths, one meaning for QString paths (typed and shown)
// and QByteArray paths (names as bytes). They look at the text only: nothing here touches
// the file system, resolves "." or "..", or folds repeated slashes inside a path.
//
//   path        nameOf   folderOf   withoutTrailingSlash   withTrailingSlash
//   "/"         ""       "/"        "/"                    "/"
//   "/a"        "a"      "/"        "/a"                   "/a/"
//   "a"         "a"      "."        "a"                    "a/"
//   "/a/"       "a"      "/"        "/a"                   "/a/"
//   ""          ""       "."        ""                     ""
//   "//a//b/"   "b"      "//a"      "//a//b"               "//a//b/"
//
// folderOf follows POSIX dirname, except that any run of slashes alone is the root "/": a
// bare name lies in the current folder ("."), a name just below the root in "/". The result
// never ends with a slash unless it is the root. An empty path names nothing, so the slash
// helpers leave it empty rather than turning it into the root.

#include <QByteArray>
#include <QString>

namespace PathText {

// The last component, trailing slashes ignored; "" for the root and for "".
QString nameOf(const QString& path);
QByteArray nameOf(const QByteArray& path);

// The folder holding the last component (see the table above).
QString folderOf(const QString& path);
QByteArray folderOf(const QByteArray& path);

// folder and name with one "/" between them; the name alone when folder is empty.
QString joined(const QString& folder, const QString& name);
QByteArray joined(const QByteArray& folder, const QByteArray& name);

// path ending with "/" (unchanged when it has one, or is empty).
QString withTrailingSlash(const QString& path);
QByteArray withTrailingSlash(const QByteArray& path);

// path without its trailing slashes; the root stays "/".
QString withoutTrailingSlash(const QString& path);
QByteArray withoutTrailingSlash(const QByteArray& path);

} // namespace PathText
