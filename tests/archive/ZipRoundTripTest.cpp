// Archives the engine writes, with every writing option, read back by the engine and by the
// peer tools (unzip, 7z, bsdtar, python's zipfile); extraction reproduces the tree exactly.
#include "ZipTestTools.h"
#include "archive/TAbZipKit.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>

namespace {

struct WriteCase {
    const char* name;
    ZipCompressionMethod method;
    ZipDeflation level;
    const char* password;
    uint64_t span;
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }


class ZipRoundTripTest : public TempHomeTest, public ::testing::WithParamInterface<WriteCase> {};

QString writeArchive(const QString& root, const WriteCase& c)
{
    TAbZipKit zip;
    zip.CompressionMethodToUse = c.method;
    zip.DeflationOption = c.level;
    zip.Password = QString::fromUtf8(c.password);
    zip.SpanningThreshold = c.span;
    zip.StoreOptions = ZipStoreOption::Recurse;
    const QString archive = root + QStringLiteral("/out.zip");
    EXPECT_TRUE(zip.setFileName(archive)) << qPrintable(zip.errorString());
    zip.BaseDirectory = root;
    EXPECT_TRUE(zip.AddFiles(root + QStringLiteral("/tree"))) << qPrintable(zip.errorString());
    EXPECT_TRUE(zip.Save()) << qPrintable(zip.errorString());
    return archive;
}

} // namespace

TEST_P(ZipRoundTripTest, PeersAcceptAndEngineRestoresTree)
{
    const WriteCase c = GetParam();
    const QString root = home().root();
    makeSampleTree(root + QStringLiteral("/tree"));
    const QString archive = writeArchive(root, c);
    const QString password = QString::fromUtf8(c.password);
    QStringList sevenArgs{QStringLiteral("t"), archive};
    if (!password.isEmpty())
        sevenArgs << QStringLiteral("-p") + password;
    const auto seven = runTool(QStringLiteral("7z"), sevenArgs);
    EXPECT_EQ(seven.exitCode, 0) << seven.output.constData();
    if (c.span > 0) {
        // Info-ZIP's unzip reads no split sets (and its own joining is broken for them), so
        // 7-Zip alone checks the split form.
        EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/out.z01"))) << "expected a split archive";
    } else {
        QStringList unzipArgs{QStringLiteral("-t")};
        if (!password.isEmpty())
            unzipArgs << QStringLiteral("-P") << password;
        const auto unzip = runTool(QStringLiteral("unzip"), unzipArgs << archive);
        EXPECT_EQ(unzip.exitCode, 0) << unzip.output.constData();
        const auto bsdtar = runTool(QStringLiteral("bsdtar"), {QStringLiteral("-tf"), archive});
        EXPECT_EQ(bsdtar.exitCode, 0) << bsdtar.output.constData();
        const auto python = runPython(QStringLiteral("import sys, zipfile\n"
                                                     "z = zipfile.ZipFile(sys.argv[1])\n"
                                                     "z.setpassword(sys.argv[2].encode())\n"
                                                     "sys.exit(1 if z.testzip() else 0)\n"),
                                      {archive, password});
        EXPECT_EQ(python.exitCode, 0) << python.output.constData();
    }

    TAbZipKit reader;
    ASSERT_TRUE(reader.setFileName(archive)) << qPrintable(reader.errorString());
    reader.Password = password;
    reader.BaseDirectory = root + QStringLiteral("/back");
    reader.ExtractOptions = ZipExtractOption::CreateDirs | ZipExtractOption::RestorePath;
    QDir().mkpath(reader.BaseDirectory);
    ASSERT_TRUE(reader.ExtractFiles(QStringLiteral("*.*"))) << qPrintable(reader.problems().join(QLatin1Char('\n')));
    EXPECT_EQ(treeContents(root + QStringLiteral("/tree")), treeContents(root + QStringLiteral("/back/tree")));
}

INSTANTIATE_TEST_SUITE_P(Options, ZipRoundTripTest,
    ::testing::Values(
        WriteCase{"best_normal", ZipCompressionMethod::Best, ZipDeflation::Normal, "", 0},
        WriteCase{"deflated_maximum", ZipCompressionMethod::Deflated, ZipDeflation::Maximum, "", 0},
        WriteCase{"deflated_superfast", ZipCompressionMethod::Deflated, ZipDeflation::SuperFast, "", 0},
        WriteCase{"stored", ZipCompressionMethod::Stored, ZipDeflation::Normal, "", 0},
        WriteCase{"encrypted_best", ZipCompressionMethod::Best, ZipDeflation::Fast, "s3cret", 0},
        WriteCase{"encrypted_stored", ZipCompressionMethod::Stored, ZipDeflation::Normal, "s3cret", 0},
        WriteCase{"spanned", ZipCompressionMethod::Best, ZipDeflation::Normal, "", 65536},
        WriteCase{"spanned_encrypted", ZipCompressionMethod::Stored, ZipDeflation::Normal, "pw", 65536}),
    [](const auto& info) { return std::string(info.param.name); });

// Files above the in-memory limit take the streaming path: block-parallel deflate, stored
// when deflating does not pay (random bytes), and sizes after the data when encrypted.
class ZipLargeEntryTest : public TempHomeTest {};

TEST_F(ZipLargeEntryTest, LargeEntriesStreamAndStayReadable)
{
    const QString root = home().root();
    QByteArray random(34 << 20, '\0');
    QRandomGenerator(3).fillRange(reinterpret_cast<quint32*>(random.data()), random.size() / 4);
    makeFile(QStringLiteral("big/random.bin"), random);
    makeFile(QStringLiteral("big/zeros.bin"), QByteArray(40 << 20, '\0'));
    for (const QString& password : {QString(), QStringLiteral("pw")}) {
        const QString archive = root + QStringLiteral("/big%1.zip").arg(password);
        TAbZipKit zip;
        ASSERT_TRUE(zip.setFileName(archive));
        zip.BaseDirectory = root;
        zip.Password = password;
        ASSERT_TRUE(zip.AddFiles(QStringLiteral("big"))) << qPrintable(zip.errorString());
        ASSERT_TRUE(zip.Save()) << qPrintable(zip.errorString());
        EXPECT_LT(QFileInfo(archive).size(), (34 << 20) + (1 << 20)) << "random stored, zeros deflated";
        const auto unzip = runTool(QStringLiteral("unzip"), {QStringLiteral("-tq"), QStringLiteral("-P"), password, archive});
        EXPECT_EQ(unzip.exitCode, 0) << unzip.output.constData();
        const auto seven = runTool(QStringLiteral("7z"), {QStringLiteral("t"), QStringLiteral("-p") + password, archive});
        EXPECT_EQ(seven.exitCode, 0) << seven.output.constData();
        const QString back = root + QStringLiteral("/back") + password;
        QDir().mkpath(back);
        zip.BaseDirectory = back;
        zip.ExtractOptions = ZipExtractOption::CreateDirs | ZipExtractOption::RestorePath;
        ASSERT_TRUE(zip.ExtractFiles(QStringLiteral("*"))) << qPrintable(zip.problems().join(QLatin1Char('\n')));
        EXPECT_TRUE(treeContents(back + QStringLiteral("/big")) == treeContents(root + QStringLiteral("/big")));
    }
}

// A big compressible file is deflated in blocks on several threads and joined into one
// deflate stream; every peer must read it as one ordinary entry.
TEST_F(ZipLargeEntryTest, BlockDeflatedEntryPassesPeers)
{
    const QString root = home().root();
    QRandomGenerator random(5);
    QByteArray text;
    text.reserve((36 << 20) + 64);
    while (text.size() < (36 << 20) + 12345)
        text += "line " + QByteArray::number(random.bounded(100000)) + (random.bounded(4) ? " ok\n" : " retry later\n");
    makeFile(QStringLiteral("log/big.log"), text);
    for (const auto method : {ZipCompressionMethod::Best, ZipCompressionMethod::Deflated}) {
        const QString archive = root + QStringLiteral("/log%1.zip").arg(int(method));
        TAbZipKit zip;
        ASSERT_TRUE(zip.setFileName(archive));
        zip.BaseDirectory = root;
        zip.CompressionMethodToUse = method;
        ASSERT_TRUE(zip.AddFiles(QStringLiteral("log"))) << qPrintable(zip.errorString());
        ASSERT_TRUE(zip.Save()) << qPrintable(zip.errorString());
        EXPECT_LT(QFileInfo(archive).size(), text.size() / 3) << "deflated, not stored";
        const auto unzip = runTool(QStringLiteral("unzip"), {QStringLiteral("-tq"), archive});
        EXPECT_EQ(unzip.exitCode, 0) << unzip.output.constData();
        const auto seven = runTool(QStringLiteral("7z"), {QStringLiteral("t"), archive});
        EXPECT_EQ(seven.exitCode, 0) << seven.output.constData();
        const auto python = runPython(QStringLiteral("import sys, zipfile\n"
                                                     "z = zipfile.ZipFile(sys.argv[1])\n"
                                                     "i = z.getinfo('log/big.log')\n"
                                                     "print(i.compress_type, len(z.read(i)), z.testzip())\n"),
                                      {archive});
        EXPECT_EQ(python.output.trimmed(), "8 " + QByteArray::number(text.size()) + " None") << python.output.constData();
        const QString back = root + QStringLiteral("/back%1").arg(int(method));
        QDir().mkpath(back);
        zip.BaseDirectory = back;
        zip.ExtractOptions = ZipExtractOption::CreateDirs | ZipExtractOption::RestorePath;
        ASSERT_TRUE(zip.ExtractFiles(QStringLiteral("*"))) << qPrintable(zip.problems().join(QLatin1Char('\n')));
        EXPECT_TRUE(treeContents(back + QStringLiteral("/log")) == treeContents(root + QStringLiteral("/log")));
    }
}

// A big file that starts as text and goes on with runs of random bytes, as a disk image
// does: its first piece has it deflated, and the pieces cut through the random runs still
// join into one stream that peers and the engine read back exactly.
TEST_F(ZipLargeEntryTest, MixedBigEntryDeflatesAndRoundTrips)
{
    const QString root = home().root();
    QRandomGenerator random(9);
    QByteArray mixed;
    while (mixed.size() < (33 << 20)) {
        for (int i = 0; i < 30000; ++i)
            mixed += "record " + QByteArray::number(random.bounded(100000)) + '\n';
        QByteArray noise(random.bounded(1 << 20) + 1, '\0');
        for (char& c : noise)
            c = char(random.generate());
        mixed += noise;
    }
    makeFile(QStringLiteral("img/disk.img"), mixed);
    const QString archive = root + QStringLiteral("/img.zip");
    TAbZipKit zip;
    ASSERT_TRUE(zip.setFileName(archive));
    zip.BaseDirectory = root;
    ASSERT_TRUE(zip.AddFiles(QStringLiteral("img"))) << qPrintable(zip.errorString());
    ASSERT_TRUE(zip.Save()) << qPrintable(zip.errorString());
    const auto python = runPython(QStringLiteral("import sys, zipfile\n"
                                                 "z = zipfile.ZipFile(sys.argv[1])\n"
                                                 "i = z.getinfo('img/disk.img')\n"
                                                 "print(i.compress_type, i.compress_size < i.file_size, z.testzip())\n"),
                                  {archive});
    EXPECT_EQ(python.output.trimmed(), "8 True None") << python.output.constData();
    const auto unzip = runTool(QStringLiteral("unzip"), {QStringLiteral("-tq"), archive});
    EXPECT_EQ(unzip.exitCode, 0) << unzip.output.constData();
    const QString back = root + QStringLiteral("/back");
    QDir().mkpath(back);
    zip.BaseDirectory = back;
    zip.ExtractOptions = ZipExtractOption::CreateDirs | ZipExtractOption::RestorePath;
    ASSERT_TRUE(zip.ExtractFiles(QStringLiteral("*"))) << qPrintable(zip.problems().join(QLatin1Char('\n')));
    EXPECT_TRUE(treeContents(back + QStringLiteral("/img")) == treeContents(root + QStringLiteral("/img")));
}

// An entry over 4 GiB needs Zip64 sizes in its local header and central record. A sparse
// file of zeros keeps this cheap: it reads without disk traffic and deflates to little.
TEST_F(ZipLargeEntryTest, Over4GiBEntryUsesZip64)
{
    const QString root = home().root();
    const qint64 size = (qint64(4) << 30) + 12345;
    QFile sparse(root + QStringLiteral("/huge/zeros.bin"));
    QDir().mkpath(root + QStringLiteral("/huge"));
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.resize(size));
    sparse.close();
    const QString archive = root + QStringLiteral("/huge.zip");
    {
        TAbZipKit zip;
        ASSERT_TRUE(zip.setFileName(archive));
        zip.BaseDirectory = root;
        zip.DeflationOption = ZipDeflation::SuperFast;
        ASSERT_TRUE(zip.AddFiles(QStringLiteral("huge")));
        ASSERT_TRUE(zip.Save()) << qPrintable(zip.errorString());
    }
    const auto python = runPython(QStringLiteral("import sys, zipfile\n"
                                                 "i = zipfile.ZipFile(sys.argv[1]).getinfo('huge/zeros.bin')\n"
                                                 "print(i.file_size)\n"),
                                  {archive});
    EXPECT_EQ(python.output.trimmed(), QByteArray::number(size)) << python.output.constData();
    const auto unzip = runTool(QStringLiteral("unzip"), {QStringLiteral("-tq"), archive});
    EXPECT_EQ(unzip.exitCode, 0) << unzip.output.constData();

    ZipReader reader;
    ASSERT_TRUE(reader.open(archive)) << qPrintable(reader.errorString());
    ASSERT_EQ(reader.entries().size(), size_t(1));
    const ZipEntry& entry = reader.entries()[0];
    EXPECT_EQ(entry.size(), uint64_t(size));
    uint64_t seen = 0;
    bool allZero = true;
    const auto status = reader.read(entry, std::string(), [&](const uint8_t* d, size_t n) {
        for (size_t i = 0; i < n && allZero; i += 4096)
            allZero = d[i] == 0;
        seen += n;
        return true;
    }, nullptr);
    EXPECT_EQ(status, ZipReader::Status::Ok) << qPrintable(reader.errorString());
    EXPECT_EQ(seen, uint64_t(size));
    EXPECT_TRUE(allZero);
}

class ZipKeptEntryTest : public TempHomeTest {};

TEST_F(ZipKeptEntryTest, StreamedZip64EntryKeepsItsWholeDescriptor)
{
    // Info-ZIP reading standard input announces Zip64 in the local header and ends the
    // entry with a descriptor of 64-bit sizes, though the sizes are small. Adding a file
    // copies the kept entry as stored, all 24 descriptor bytes included.
    const QString root = home().root();
    const auto made = runTool(QStringLiteral("zip"), {QStringLiteral("-q"), QStringLiteral("-"), QStringLiteral("-")}, root,
                              "piped data\n");
    ASSERT_EQ(made.exitCode, 0) << made.output.constData();
    const QByteArray streamed = made.output;
    const QString archive = makeFile(QStringLiteral("piped.zip"), streamed);
    const qsizetype entryBytes = streamed.indexOf(QByteArray("PK\x01\x02", 4));
    ASSERT_GT(entryBytes, 0);
    ASSERT_EQ(streamed.mid(entryBytes - 24, 4), QByteArray("PK\x07\x08", 4)) << "no 24-byte descriptor to keep";

    TAbZipKit zip;
    ASSERT_TRUE(zip.setFileName(archive)) << qPrintable(zip.errorString());
    zip.BaseDirectory = root;
    ASSERT_TRUE(zip.AddFiles(makeFile(QStringLiteral("more.txt"), "more\n"))) << qPrintable(zip.errorString());
    ASSERT_TRUE(zip.Save()) << qPrintable(zip.errorString());
    QFile saved(archive);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.read(entryBytes), streamed.left(entryBytes));
    const auto test = runTool(QStringLiteral("unzip"), {QStringLiteral("-t"), archive});
    EXPECT_EQ(test.exitCode, 0) << test.output.constData();
}
