#include "platform/PathText.h"

#include <type_traits>

namespace PathText {

namespace {

template <typename Text>
auto slash()
{
    if constexpr (std::is_same_v<Text, QString>)
        return QLatin1Char('/');
    else
        return '/';
}

// A text of one character.
template <typename Text>
Text single(char c)
{
    return Text(1, c);
}

template <typename Text>
Text withoutTrailing(Text path)
{
    while (path.size() > 1 && path.endsWith(slash<Text>()))
        path.chop(1);
    return path;
}

template <typename Text>
Text nameIn(const Text& path)
{
    const Text clean = withoutTrailing(path);
    if (clean == single<Text>('/'))
        return Text();
    return clean.mid(clean.lastIndexOf(slash<Text>()) + 1);
}

template <typename Text>
Text folderIn(const Text& path)
{
    const Text clean = withoutTrailing(path);
    qsizetype end = clean.lastIndexOf(slash<Text>());
    if (end < 0)
        return single<Text>('.');
    // The slashes in front of the name go with it: "//a//b" -> "//a".
    while (end > 0 && clean.at(end - 1) == slash<Text>())
        --end;
    return end == 0 ? single<Text>('/') : clean.left(end);
}

template <typename Text>
Text withTrailing(const Text& path)
{
    if (path.isEmpty() || path.endsWith(slash<Text>()))
        return path;
    return Text(path + slash<Text>());
}

template <typename Text>
Text join(const Text& folder, const Text& name)
{
    return folder.isEmpty() ? name : Text(withTrailing(folder) + name);
}

} // namespace

QString nameOf(const QString& path) { return nameIn(path); }
QByteArray nameOf(const QByteArray& path) { return nameIn(path); }
QString folderOf(const QString& path) { return folderIn(path); }
QByteArray folderOf(const QByteArray& path) { return folderIn(path); }
QString joined(const QString& folder, const QString& name) { return join(folder, name); }
QByteArray joined(const QByteArray& folder, const QByteArray& name) { return join(folder, name); }
QString withTrailingSlash(const QString& path) { return withTrailing(path); }
QByteArray withTrailingSlash(const QByteArray& path) { return withTrailing(path); }
QString withoutTrailingSlash(const QString& path) { return withoutTrailing(path); }
QByteArray withoutTrailingSlash(const QByteArray& path) { return withoutTrailing(path); }

} // namespace PathText
