// The repair scan and rebuild on small hand-made inputs, one per rule of the scan, plus an
// intact archive from Info-ZIP that must come back whole and readable, and streamed
// archives (data descriptors) from Info-ZIP and Python, whole and cut, checked by unzip -t.
#include "ZipTestTools.h"
#include "archive/TAbZipKit.h"
#include "archive/TFolZipFix.h"
#include "archive/io/MappedFile.h"
#include "support/TempHome.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QtEndian>

#include <zlib.h>

namespace {

QByteArray le16(uint16_t v) { return QByteArray(1, char(v & 0xFF)) + char(v >> 8); }
QByteArray le32(uint32_t v) { return le16(uint16_t(v)) + le16(uint16_t(v >> 16)); }

uint32_t crcOf(const QByteArray& d) { return uint32_t(::crc32(0, reinterpret_cast<const Bytef*>(d.constData()), uInt(d.size()))); }

// A stored entry's local header, name and data; with a descriptor, the sizes follow the data.
QByteArray storedEntry(const QByteArray& name, const QByteArray& data, bool descriptor = false, const QByteArray& extra = {})
{
    const uint32_t size = descriptor ? 0 : uint32_t(data.size());
    QByteArray out = QByteArray("PK\x03\x04", 4) + le16(10) + le16(descriptor ? 8 : 0) + le16(0) + le16(0) + le16(0x21)
        + le32(descriptor ? 0 : crcOf(data)) + le32(size) + le32(size) + le16(uint16_t(name.size()))
        + le16(uint16_t(extra.size())) + name + extra + data;
    if (descriptor)
        out += QByteArray("PK\x07\x08", 4) + le32(crcOf(data)) + le32(uint32_t(data.size())) + le32(uint32_t(data.size()));
    return out;
}

struct Outcome {
    QStringList lines;
    QByteArray output;
    QString summary;
};

Outcome repair(const QByteArray& input)
{
    Outcome o;
    ZipFixReport report;
    TFolZipFix fix;
    fix.OnFileFound = [&](TFolZipFix*, const QString& name, bool ok) { o.lines << report.fileFound(name, ok); };
    QBuffer out(&o.output);
    out.open(QIODevice::WriteOnly);
    EXPECT_TRUE(fix.ReclaimZip(reinterpret_cast<const uint8_t*>(input.constData()), uint64_t(input.size()), &out));
    o.summary = report.summary();
    return o;
}

struct ScanCase {
    const char* name;
    QByteArray input;
    QStringList lines;
};

void PrintTo(const ScanCase& c, std::ostream* os) { *os << c.name; }


class TFolZipFixScanTest : public ::testing::TestWithParam<ScanCase> {};

const QByteArray kName81(81, 'n');
const QByteArray kName4096(4096, 'n');
const QByteArray kName4097(4097, 'n');

} // namespace

TEST_P(TFolZipFixScanTest, ReportsEachCandidate)
{
    const ScanCase c = GetParam();
    const Outcome o = repair(c.input);
    EXPECT_EQ(o.lines, c.lines);
    const int accepted = int(c.lines.filter(QStringLiteral("reclaimed ok")).size());
    EXPECT_EQ(o.summary, QStringLiteral("reclaimed %1 out of %2 files.").arg(accepted).arg(c.lines.size()));
    if (accepted == 0) {
        EXPECT_TRUE(o.output.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, TFolZipFixScanTest, ::testing::Values(
    ScanCase{"no_header", QByteArray(1000, 'x'), {}},
    ScanCase{"name_lengths",
             storedEntry(kName81, "a") + storedEntry(kName4096, "b") + storedEntry(kName4097, "c") + storedEntry("", "c")
                 + storedEntry("bad\x01name", "d") + storedEntry("z.txt", "e"),
             {"reclaimed ok: \t" + QString::fromLatin1(kName81), "reclaimed ok: \t" + QString::fromLatin1(kName4096),
              "corrupted bad: \t??filename??", "corrupted bad: \t??filename??", "corrupted bad: \t??filename??",
              "reclaimed ok: \tz.txt"}},
    ScanCase{"data_ends_exactly_at_end", storedEntry("a.txt", "hello"), {"reclaimed ok: \ta.txt"}},
    ScanCase{"data_runs_past_end", storedEntry("a.txt", "hello").chopped(1), {"corrupted bad: \ta.txt"}},
    // A download cut right after the entries ends with the last entry's descriptor.
    ScanCase{"descriptor_ending_at_end", storedEntry("c.txt", "first", true) + storedEntry("d.txt", "data", true),
             {"reclaimed ok: \tc.txt", "reclaimed ok: \td.txt"}},
    ScanCase{"descriptor_cut_short", storedEntry("d.txt", "data", true).chopped(1), {"corrupted bad: \td.txt"}},
    ScanCase{"descriptor_with_room_after", storedEntry("d.txt", "data", true) + "tail!", {"reclaimed ok: \td.txt"}},
    ScanCase{"first_descriptor_decides",
             storedEntry("d.txt", QByteArray("ab") + QByteArray("PK\x07\x08", 4) + "cd", true) + "tail!",
             {"corrupted bad: \td.txt"}},
    // The search for the next header goes through long garbage in steps.
    ScanCase{"header_after_long_garbage", QByteArray(20 << 20, 'x') + storedEntry("far.txt", "far"), {"reclaimed ok: \tfar.txt"}},
    ScanCase{"resume_inside_rejected_data",
             // The first header claims 1000 bytes that are not there; the second lies inside.
             QByteArray("PK\x03\x04", 4) + le16(10) + le16(0) + le16(0) + le32(0) + le32(0) + le32(1000) + le32(1000)
                 + le16(5) + le16(0) + "x.txt" + storedEntry("y.txt", "inner"),
             {"corrupted bad: \tx.txt", "reclaimed ok: \ty.txt"}}),
    [](const auto& info) { return std::string(info.param.name); });

class TFolZipFixTest : public TempHomeTest {};

TEST_F(TFolZipFixTest, MissingStreamIsAnError)
{
    TFolZipFix fix;
    QByteArray sink;
    QBuffer out(&sink);
    out.open(QIODevice::WriteOnly);
    const uint8_t byte = 0;
    EXPECT_FALSE(fix.ReclaimZip(nullptr, 0, &out));
    EXPECT_EQ(fix.errorString(), QStringLiteral("No input or no output stream has been defined"));
    EXPECT_FALSE(fix.ReclaimZip(&byte, 1, nullptr));
    EXPECT_EQ(fix.errorString(), QStringLiteral("No input or no output stream has been defined"));
}

TEST_F(TFolZipFixTest, LongSearchHearsCancel)
{
    // Cancel is heard within the garbage, before the one header after it is reported.
    const QByteArray input = QByteArray(20 << 20, 'x') + storedEntry("far.txt", "far");
    QStringList reported;
    TFolZipFix fix;
    fix.OnFileFound = [&](TFolZipFix*, const QString& name, bool) { reported << name; };
    fix.ShouldAbort = [] { return true; };
    QByteArray sink;
    QBuffer out(&sink);
    out.open(QIODevice::WriteOnly);
    EXPECT_FALSE(fix.ReclaimZip(reinterpret_cast<const uint8_t*>(input.constData()), uint64_t(input.size()), &out));
    EXPECT_TRUE(fix.wasAborted());
    EXPECT_TRUE(reported.isEmpty()) << qPrintable(reported.join(QLatin1Char(',')));
    EXPECT_TRUE(sink.isEmpty());
}

TEST_F(TFolZipFixTest, FileToFileRepairWritesWhatTheMemoryRepairWrites)
{
    // Runs of entries broken by garbage, a rejected candidate and a streamed entry: the
    // entries go out as several ranges, which the kernel copies from file to file.
    const QByteArray rejected = QByteArray("PK\x03\x04", 4) + le16(10) + le16(0) + le16(0) + le32(0) + le32(0) + le32(1000)
        + le32(1000) + le16(5) + le16(0) + "x.txt";
    const QByteArray input = storedEntry("a.txt", "first") + storedEntry("b.bin", QByteArray(300000, 'b')) + "junk"
        + storedEntry("c.txt", "third", true) + rejected + storedEntry("d.txt", "fourth") + storedEntry("e.txt", "fifth");
    const QByteArray lead("lead"); // the new archive starts where the device stands
    QByteArray expected = lead;
    {
        QBuffer memory(&expected);
        memory.open(QIODevice::WriteOnly | QIODevice::Append);
        TFolZipFix fix;
        ASSERT_TRUE(fix.ReclaimZip(reinterpret_cast<const uint8_t*>(input.constData()), uint64_t(input.size()), &memory));
    }
    zipio::MappedFile mapped;
    ASSERT_TRUE(mapped.open(makeFile(QStringLiteral("in.zip"), input))) << qPrintable(mapped.errorString());
    QFile out(home().root() + QStringLiteral("/out.zip"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(lead);
    TFolZipFix fix;
    ZipFixReport report;
    fix.OnFileFound = [&](TFolZipFix*, const QString& name, bool ok) { report.fileFound(name, ok); };
    ASSERT_TRUE(fix.ReclaimZip(mapped.data(), mapped.size(), &out, mapped.fd())) << qPrintable(fix.errorString());
    EXPECT_EQ(report.summary(), QStringLiteral("reclaimed 5 out of 6 files."));
    EXPECT_EQ(out.pos(), expected.size());
    out.close();
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_TRUE(out.readAll() == expected);
    EXPECT_EQ(runPython(QStringLiteral("import sys, zipfile\nz = zipfile.ZipFile(sys.argv[1])\nprint(z.testzip(), len(z.namelist()))"),
                        {out.fileName()}).output.trimmed(), QByteArray("None 5"));
}

TEST_F(TFolZipFixTest, IntactArchiveIsRebuiltWholeWithoutDirectoryExtras)
{
    const QString root = home().root();
    makeSampleTree(root + QStringLiteral("/tree"));
    const QString archive = root + QStringLiteral("/in.zip");
    // Info-ZIP writes extra fields, attributes and an archive comment.
    const auto made = runTool(QStringLiteral("zip"), {QStringLiteral("-r"), QStringLiteral("-q"), QStringLiteral("-z"), archive,
                                                      QStringLiteral("tree")}, root, "a comment\n.\n");
    ASSERT_EQ(made.exitCode, 0) << made.output.constData();
    QFile in(archive);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const Outcome o = repair(in.readAll());
    EXPECT_EQ(o.summary, QStringLiteral("reclaimed 7 out of 7 files."));
    QFile out(root + QStringLiteral("/out.zip"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(o.output);
    out.close();
    const auto test = runTool(QStringLiteral("unzip"), {QStringLiteral("-t"), out.fileName()});
    EXPECT_EQ(test.exitCode, 0) << test.output.constData();
    const auto fields = runPython(QStringLiteral(
        "import sys, zipfile\nz = zipfile.ZipFile(sys.argv[1])\n"
        "print(repr(z.comment), sorted({(i.create_version, i.external_attr, len(i.extra)) for i in z.infolist()}))"),
        {out.fileName()});
    EXPECT_EQ(fields.output.trimmed(), QByteArray("b'' [(0, 0, 0)]"))
        << fields.output.constData();
}

TEST_F(TFolZipFixTest, DamagedArchiveKeepsEveryIntactEntry)
{
    const QString root = home().root();
    makeSampleTree(root + QStringLiteral("/tree"));
    const QString archive = root + QStringLiteral("/in.zip");
    ASSERT_EQ(runTool(QStringLiteral("zip"), {QStringLiteral("-r"), QStringLiteral("-q"), archive, QStringLiteral("tree")}, root).exitCode, 0);
    QFile in(archive);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray bytes = in.readAll();
    // Cut the central directory away and break the local header of the noise file.
    bytes.truncate(bytes.indexOf(QByteArray("PK\x01\x02", 4)));
    const qsizetype noise = bytes.indexOf("tree/sub/noise.bin") - 30;
    bytes[noise + 21] = char(0x7F); // compressed size now runs far past the end
    const Outcome o = repair(bytes);
    EXPECT_TRUE(o.lines.contains(QStringLiteral("corrupted bad: \ttree/sub/noise.bin")));
    EXPECT_TRUE(o.lines.contains(QStringLiteral("reclaimed ok: \ttree/text.txt")));
    TAbZipKit zip;
    QFile out(root + QStringLiteral("/fixed.zip"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(o.output);
    out.close();
    ASSERT_TRUE(zip.setFileName(out.fileName())) << qPrintable(zip.errorString());
    zip.BaseDirectory = root + QStringLiteral("/back");
    QDir().mkpath(zip.BaseDirectory);
    zip.ExtractOptions = ZipExtractOption::CreateDirs | ZipExtractOption::RestorePath;
    ASSERT_TRUE(zip.ExtractFiles(QStringLiteral("*"))) << qPrintable(zip.problems().join(QLatin1Char('\n')));
    EXPECT_EQ(treeContents(root + QStringLiteral("/back/tree")).value(QStringLiteral("text.txt")),
              treeContents(root + QStringLiteral("/tree")).value(QStringLiteral("text.txt")));
}

TEST_F(TFolZipFixTest, MoreThan65535EntriesGetZip64Counts)
{
    QByteArray input;
    const int count = 65536 + 10;
    input.reserve(count * 45);
    for (int i = 0; i < count; ++i)
        input += storedEntry("f" + QByteArray::number(i), "");
    const Outcome o = repair(input);
    EXPECT_EQ(o.summary, QStringLiteral("reclaimed %1 out of %1 files.").arg(count));
    TAbZipKit zip;
    QFile out(home().root() + QStringLiteral("/many.zip"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(o.output);
    out.close();
    ASSERT_TRUE(zip.setFileName(out.fileName())) << qPrintable(zip.errorString());
    EXPECT_EQ(zip.Count(), count);
    EXPECT_EQ(runTool(QStringLiteral("unzip"), {QStringLiteral("-tq"), out.fileName()}).exitCode, 0);
}

TEST_F(TFolZipFixTest, Zip64LocalSizesAreRead)
{
    // Python's forced Zip64 entries keep their sizes only in the local Zip64 field.
    const QString archive = home().root() + QStringLiteral("/z64.zip");
    const auto made = runPython(QStringLiteral(
        "import sys, zipfile\n"
        "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:\n"
        "    for name, data in (('a.txt', b'abc' * 5000), ('b.bin', bytes(range(256)) * 40)):\n"
        "        with z.open(name, 'w', force_zip64=True) as f: f.write(data)\n"), {archive});
    ASSERT_EQ(made.exitCode, 0) << made.output.constData();
    QFile in(archive);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const Outcome o = repair(in.readAll());
    EXPECT_EQ(o.lines, (QStringList{QStringLiteral("reclaimed ok: \ta.txt"), QStringLiteral("reclaimed ok: \tb.bin")}));
    QFile out(home().root() + QStringLiteral("/fixed.zip"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(o.output);
    out.close();
    const auto test = runTool(QStringLiteral("unzip"), {QStringLiteral("-t"), out.fileName()});
    EXPECT_EQ(test.exitCode, 0) << test.output.constData();
}

namespace {

// Archives written to a pipe, where nothing can be sought back: every entry has flag bit 3,
// no CRC or sizes in its local header, and a data descriptor after its data (with 64-bit
// sizes where the local header announces Zip64).
struct StreamedCase {
    const char* name;
    const char* program;
    QStringList args;   // run in a folder that holds "tree"
    QByteArray input;   // standard input
};

void PrintTo(const StreamedCase& c, std::ostream* os) { *os << c.name; }

const char* kPythonToPipe = R"(
import sys, zipfile
with zipfile.ZipFile(sys.stdout.buffer, 'w', zipfile.ZIP_DEFLATED) as z:
    z.writestr('a.txt', b'abc' * 5000)
    with z.open('sub/b.bin', 'w', force_zip64=sys.argv[1] == 'zip64') as f:
        f.write(bytes(range(256)) * 40)
    z.writestr('c/empty.txt', b'')
    z.writestr('last.txt', b'the entry a cut download ends with')
)";

class TFolZipFixStreamedTest : public TempHomeTest, public ::testing::WithParamInterface<StreamedCase> {};

// The central directory's offset, from the end record (the producers write no comment).
qsizetype centralDirectoryStart(const QByteArray& archive)
{
    const QByteArray end = archive.right(22);
    return end.startsWith(QByteArray("PK\x05\x06", 4)) ? qsizetype(qFromLittleEndian<quint32>(end.constData() + 16)) : -1;
}

} // namespace

TEST_P(TFolZipFixStreamedTest, RebuiltArchivePassesUnzipWithEveryEntry)
{
    const StreamedCase c = GetParam();
    const QString root = home().root();
    makeSampleTree(root + QStringLiteral("/tree"));
    const auto made = runTool(QString::fromLatin1(c.program), c.args, root, c.input);
    ASSERT_EQ(made.exitCode, 0) << made.output.left(500).constData();
    const QByteArray whole = made.output;
    ASSERT_TRUE(whole.contains(QByteArray("PK\x07\x08", 4))) << "the producer wrote no data descriptors";
    const qsizetype central = centralDirectoryStart(whole);
    ASSERT_GT(central, 0);
    const int count = qFromLittleEndian<quint16>(whole.constData() + whole.size() - 12);
    const QString original = root + QStringLiteral("/original.zip");
    {
        QFile f(original);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(whole);
    }
    // Intact, and cut where a download stops after the last entry's descriptor.
    for (const QByteArray& damaged : {whole, whole.left(central)}) {
        SCOPED_TRACE(damaged.size() == whole.size() ? "whole" : "cut after the entries");
        const Outcome o = repair(damaged);
        EXPECT_EQ(o.summary, QStringLiteral("reclaimed %1 out of %1 files.").arg(count))
            << qPrintable(o.lines.join(QLatin1Char('\n')));
        const QString fixed = root + QStringLiteral("/fixed.zip");
        QFile out(fixed);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(o.output);
        out.close();
        const auto test = runTool(QStringLiteral("unzip"), {QStringLiteral("-t"), fixed});
        EXPECT_EQ(test.exitCode, 0) << test.output.constData();
        const auto same = runPython(QStringLiteral(
            "import sys, zipfile\n"
            "a, b = zipfile.ZipFile(sys.argv[1]), zipfile.ZipFile(sys.argv[2])\n"
            "diff = [n for n in a.namelist() if n not in b.namelist() or a.read(n) != b.read(n)]\n"
            "print('same' if not diff and a.namelist() == b.namelist() else (diff, b.namelist()))\n"),
            {original, fixed});
        EXPECT_EQ(same.output.trimmed(), QByteArray("same")) << same.output.constData();
    }
}

INSTANTIATE_TEST_SUITE_P(Producers, TFolZipFixStreamedTest, ::testing::Values(
    StreamedCase{"infozip_files", "zip", {"-q", "-r", "-", "tree"}, {}},
    // Input of unknown length: Zip64 local fields and 24-byte descriptors.
    StreamedCase{"infozip_stdin", "zip", {"-q", "-", "-"}, QByteArray(70000, 'q') + "end of the piped data\n"},
    StreamedCase{"python", "python3", {"-c", kPythonToPipe, "plain"}, {}},
    StreamedCase{"python_zip64", "python3", {"-c", kPythonToPipe, "zip64"}, {}}),
    [](const auto& info) { return std::string(info.param.name); });
