// Archives made by other tools (Info-ZIP zip, 7-Zip, bsdtar, python's zipfile) are listed
// and extracted by the engine byte for byte.
#include "ZipTestTools.h"
#include "archive/TAbZipKit.h"
#include "support/TempHome.h"

#include <QDir>
#include <QMap>
#include <QSet>

namespace {

struct MakerCase {
    const char* name;
    const char* program;
    std::vector<const char*> args; // {archive} and {tree} are replaced; run inside the tree's parent
    const char* password;
};

void PrintTo(const MakerCase& c, std::ostream* os) { *os << c.name; }


class ZipInteropTest : public TempHomeTest, public ::testing::WithParamInterface<MakerCase> {};

// Python writes with explicit options, zip64 included, from the tree in argv[2].
const char* kPythonMaker = R"(
import os, sys, zipfile
archive, tree, mode = sys.argv[1], sys.argv[2], sys.argv[3]
method = zipfile.ZIP_STORED if mode == 'stored' else zipfile.ZIP_DEFLATED
with zipfile.ZipFile(archive, 'w', method) as z:
    for folder, dirs, files in os.walk(tree):
        dirs.sort()
        rel = os.path.relpath(folder, os.path.dirname(tree))
        z.write(folder, rel + '/')
        for f in sorted(files):
            path = os.path.join(folder, f)
            if mode == 'zip64':
                info = zipfile.ZipInfo.from_file(path, os.path.join(rel, f))
                info.compress_type = method
                with open(path, 'rb') as src, z.open(info, 'w', force_zip64=True) as dst:
                    dst.write(src.read())
            else:
                z.write(path, os.path.join(rel, f))
)";

} // namespace

TEST_P(ZipInteropTest, EngineExtractsExactly)
{
    const MakerCase c = GetParam();
    const QString root = home().root();
    makeSampleTree(root + QStringLiteral("/tree"));
    const QString archive = root + QStringLiteral("/made.zip");
    QStringList args;
    for (const char* a : c.args)
        args << QString::fromUtf8(a).replace(QStringLiteral("{archive}"), archive)
                    .replace(QStringLiteral("{tree}"), root + QStringLiteral("/tree"));
    if (QString::fromUtf8(c.program) == QLatin1String("python3"))
        args.prepend(QString::fromUtf8(kPythonMaker)), args.prepend(QStringLiteral("-c"));
    const auto made = runTool(QString::fromUtf8(c.program), args, root);
    ASSERT_EQ(made.exitCode, 0) << made.output.constData();

    TAbZipKit zip;
    ASSERT_TRUE(zip.setFileName(archive)) << qPrintable(zip.errorString());
    QStringList names;
    for (int i = 0; i < zip.Count(); ++i)
        names << zip.Items(i).FileName;
    EXPECT_TRUE(names.contains(QStringLiteral("tree/Grüße ünïcode.txt"))) << qPrintable(names.join(QLatin1Char('|')));
    zip.Password = QString::fromUtf8(c.password);
    zip.BaseDirectory = root + QStringLiteral("/out");
    zip.ExtractOptions = ZipExtractOption::CreateDirs | ZipExtractOption::RestorePath;
    QDir().mkpath(zip.BaseDirectory);
    ASSERT_TRUE(zip.ExtractFiles(QStringLiteral("*"))) << qPrintable(zip.problems().join(QLatin1Char('\n')));
    auto expected = treeContents(root + QStringLiteral("/tree"));
    auto got = treeContents(root + QStringLiteral("/out/tree"));
    // Not every tool stores empty folders; compare the files.
    for (auto* m : {&expected, &got})
        for (auto it = m->begin(); it != m->end();)
            it = it.key().endsWith(QLatin1Char('/')) ? m->erase(it) : std::next(it);
    EXPECT_EQ(expected, got);
}

INSTANTIATE_TEST_SUITE_P(Makers, ZipInteropTest,
    ::testing::Values(
        MakerCase{"infozip", "zip", {"-r", "-q", "{archive}", "tree"}, ""},
        MakerCase{"infozip_encrypted", "zip", {"-r", "-q", "-P", "pw", "{archive}", "tree"}, "pw"},
        MakerCase{"infozip_split", "zip", {"-r", "-q", "-s", "64k", "{archive}", "tree"}, ""},
        MakerCase{"sevenzip", "7z", {"a", "-tzip", "-bd", "{archive}", "tree"}, ""},
        MakerCase{"sevenzip_encrypted", "7z", {"a", "-tzip", "-bd", "-ppw", "{archive}", "tree"}, "pw"},
        MakerCase{"bsdtar", "bsdtar", {"-a", "-cf", "{archive}", "tree"}, ""},
        MakerCase{"python_stored", "python3", {"{archive}", "{tree}", "stored"}, ""},
        MakerCase{"python_deflated", "python3", {"{archive}", "{tree}", "deflated"}, ""},
        MakerCase{"python_zip64", "python3", {"{archive}", "{tree}", "zip64"}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

class ZipCommandInteropTest : public TempHomeTest {};

TEST_F(ZipCommandInteropTest, BsdtarArchiveOfItsOwnFolderUnzipsCleanly)
{
    // Run inside the folder, bsdtar stores "./" for the folder itself and "./" before every
    // name: the command extracts the tree as it was and reports success.
    const QString root = home().root();
    makeSampleTree(root + QStringLiteral("/tree"));
    const QString archive = root + QStringLiteral("/dot.zip");
    const auto made = runTool(QStringLiteral("bsdtar"), {QStringLiteral("-a"), QStringLiteral("-cf"), archive, QStringLiteral(".")},
                              root + QStringLiteral("/tree"));
    ASSERT_EQ(made.exitCode, 0) << made.output.constData();
    TAbZipKit zip;
    ASSERT_TRUE(zip.setFileName(archive)) << qPrintable(zip.errorString());
    QSet<QString> names;
    for (int i = 0; i < zip.Count(); ++i)
        names << zip.Items(i).FileName;
    ASSERT_TRUE(names.contains(QStringLiteral("./")) && names.contains(QStringLiteral("./text.txt")))
        << qPrintable(QStringList(names.values()).join(QLatin1Char('|')));
    zip.CloseArchive();

    const QString target = root + QStringLiteral("/out");
    const auto run = runTool(fvtoolPath(), {QStringLiteral("unzip"), archive, target});
    EXPECT_EQ(run.exitCode, 0) << run.output.constData();
    EXPECT_EQ(run.output, QByteArray());
    EXPECT_EQ(treeContents(target), treeContents(root + QStringLiteral("/tree")));
}
