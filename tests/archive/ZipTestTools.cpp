#include "ZipTestTools.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>

ToolRun runTool(const QString& program, const QStringList& args, const QString& workingDir, const QByteArray& input)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (!workingDir.isEmpty())
        p.setWorkingDirectory(workingDir);
    p.start(program, args);
    if (!p.waitForStarted(10000))
        return {-1, "cannot start " + program.toUtf8()};
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(240000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAll()};
}

ToolRun runPython(const QString& script, const QStringList& args)
{
    return runTool(QStringLiteral("python3"), QStringList{QStringLiteral("-c"), script} + args);
}

QStringList listTree(const QString& root)
{
    QStringList out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(root).relativeFilePath(it.next());
    out.sort();
    return out;
}

QMap<QString, QByteArray> treeContents(const QString& folder)
{
    QMap<QString, QByteArray> out;
    for (const QString& rel : listTree(folder)) {
        const QFileInfo info(folder + QLatin1Char('/') + rel);
        if (info.isSymLink())
            out[rel] = "-> " + info.symLinkTarget().toUtf8();
        else if (info.isDir())
            out[rel + QLatin1Char('/')] = QByteArray();
        else {
            QFile f(info.filePath());
            f.open(QIODevice::ReadOnly);
            out[rel] = f.readAll();
        }
    }
    return out;
}

namespace {

// The programs live in build/bin; the tests in build/tests.
QString binDir()
{
    const QString fromEnv = qEnvironmentVariable("FOLVANE_BIN_DIR");
    return fromEnv.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/../bin") : fromEnv;
}

} // namespace

QString fvtoolPath() { return binDir() + QStringLiteral("/fvtool"); }
QString stubPath(const QString& name) { return binDir() + QLatin1Char('/') + name; }

void makeSampleTree(const QString& root)
{
    QDir().mkpath(root + QStringLiteral("/sub/empty"));
    auto write = [&](const QString& rel, const QByteArray& bytes) {
        QFile f(root + QLatin1Char('/') + rel);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    };
    QByteArray text;
    for (int i = 0; i < 20000; ++i)
        text += "line " + QByteArray::number(i) + " of some compressible text\n";
    QByteArray noise(150000, '\0');
    QRandomGenerator rng(7);
    rng.fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    write(QStringLiteral("text.txt"), text);
    write(QStringLiteral("sub/noise.bin"), noise);
    write(QStringLiteral("sub/empty.txt"), QByteArray());
    write(QStringLiteral("Grüße ünïcode.txt"), "umlauts\n");
}
