// Hostile archives, each named for its fault: extraction never writes outside the target
// folder, reports every refusal, and leaves no half-written or unverified file behind.
#include "ZipTestTools.h"
#include "archive/TAbZipKit.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>

namespace {

// Writes one archive per fault into argv[1].
const char* kHostileMaker = R"(
import os, struct, sys, zipfile, zlib
out = sys.argv[1]
def link(name, target):
    i = zipfile.ZipInfo(name); i.create_system = 3; i.external_attr = (0o120777 << 16)
    return i, target
def make(name, entries, method=zipfile.ZIP_STORED):
    with zipfile.ZipFile(os.path.join(out, name), 'w', method) as z:
        for n, data in entries:
            z.writestr(n, data)
make('dotdot.zip', [('good.txt', 'ok'), ('../evil.txt', 'evil'), ('a/../../evil2.txt', 'evil')])
make('absolute.zip', [('good.txt', 'ok'), ('/tmp/abs-evil.txt', 'evil')])
make('drive.zip', [('good.txt', 'ok'), ('C:\\evil.txt', 'evil')])
make('link_out.zip', [('good.txt', 'ok'), link('escape', '../../outside'), ('escape/evil.txt', 'evil')])
make('link_abs.zip', [('good.txt', 'ok'), link('abs', '/etc')])
make('link_in.zip', [('sub/file.txt', 'ok'), link('inner', 'sub/file.txt')])
# a stored entry whose data was changed after its CRC was computed
make('crc.zip', [('good.txt', 'ok'), ('bad.txt', 'A' * 1000)])
b = bytearray(open(os.path.join(out, 'crc.zip'), 'rb').read()); i = b.find(b'A' * 1000); b[i + 500] = ord('B')
open(os.path.join(out, 'crc.zip'), 'wb').write(b)
# a deflated entry that inflates to far more than its recorded size
make('bomb.zip', [('good.txt', 'ok'), ('bomb.txt', '\0' * 3000000)], zipfile.ZIP_DEFLATED)
b = bytearray(open(os.path.join(out, 'bomb.zip'), 'rb').read())
local = b.find(b'bomb.txt') - 30; central = b.find(b'bomb.txt', local + 31) - 46
struct.pack_into('<I', b, local + 22, 1000); struct.pack_into('<I', b, central + 24, 1000)
open(os.path.join(out, 'bomb.zip'), 'wb').write(b)
# two central records that share one local entry
make('overlap.zip', [('one.txt', 'x' * 100)])
b = open(os.path.join(out, 'overlap.zip'), 'rb').read()
cd = b.find(b'PK\x01\x02'); end = b.find(b'PK\x05\x06')
rec = b[cd:end]; rec2 = rec.replace(b'one.txt', b'two.txt')
eocd = bytearray(b[end:]); struct.pack_into('<HHII', eocd, 8, 2, 2, len(rec) * 2, cd)
open(os.path.join(out, 'overlap.zip'), 'wb').write(b[:cd] + rec + rec2 + bytes(eocd))
# "./" names the target folder itself; it may lead any name but never hides a ".."
make('dot_prefix.zip', [('./', ''), ('./good.txt', 'ok'), ('././sub/./inner.txt', 'ok')])
make('dot_dotdot.zip', [('./', ''), ('./good.txt', 'ok'), ('./../evil.txt', 'evil')])
make('dot_file.zip', [('good.txt', 'ok'), ('./.', 'a file cannot be the folder')])
# an entry whose offset points past the end
make('badoffset.zip', [('one.txt', 'x' * 100)])
b = bytearray(open(os.path.join(out, 'badoffset.zip'), 'rb').read()); cd = b.find(b'PK\x01\x02')
struct.pack_into('<I', b, cd + 42, 0x7fffffff)
open(os.path.join(out, 'badoffset.zip'), 'wb').write(b)
)";

struct HostileCase {
    const char* archive;
    bool opens;                        // false: the archive is refused as a whole
    std::vector<const char*> expected; // what the target folder holds afterwards
    const char* problem;               // text expected in the report
};

void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.archive; }


class ZipHostileTest : public TempHomeTest, public ::testing::WithParamInterface<HostileCase> {};

} // namespace

TEST_P(ZipHostileTest, NothingEscapesAndEveryRefusalIsReported)
{
    const HostileCase c = GetParam();
    const QString root = home().root();
    QDir().mkpath(root + QStringLiteral("/made"));
    const QString target = root + QStringLiteral("/deep/target");
    QDir().mkpath(target);
    const auto made = runPython(QString::fromUtf8(kHostileMaker), {root + QStringLiteral("/made")});
    ASSERT_EQ(made.exitCode, 0) << made.output.constData();
    const QStringList before = listTree(root);

    TAbZipKit zip;
    const bool opened = zip.setFileName(root + QStringLiteral("/made/") + QString::fromUtf8(c.archive));
    ASSERT_EQ(opened, c.opens) << qPrintable(zip.errorString());
    if (!opened) {
        EXPECT_TRUE(zip.errorString().contains(QString::fromUtf8(c.problem))) << qPrintable(zip.errorString());
        return;
    }
    zip.BaseDirectory = target;
    zip.ExtractOptions = ZipExtractOption::CreateDirs | ZipExtractOption::RestorePath;
    const bool ok = zip.ExtractFiles(QStringLiteral("*"));
    const QString report = zip.problems().join(QLatin1Char('\n'));
    if (*c.problem) {
        EXPECT_FALSE(ok);
        EXPECT_TRUE(report.contains(QString::fromUtf8(c.problem))) << qPrintable(report);
    } else {
        EXPECT_TRUE(ok) << qPrintable(report);
    }
    QStringList expected;
    for (const char* e : c.expected)
        expected << QString::fromUtf8(e);
    expected.sort();
    EXPECT_EQ(listTree(target), expected);
    // Outside the target nothing changed (the target's own files aside).
    QStringList after = listTree(root);
    after.removeIf([](const QString& p) { return p.startsWith(QLatin1String("deep/target/")); });
    QStringList was = before;
    EXPECT_EQ(after, was);
    EXPECT_FALSE(QFile::exists(QStringLiteral("/tmp/abs-evil.txt")));
}

INSTANTIATE_TEST_SUITE_P(Faults, ZipHostileTest,
    ::testing::Values(
        HostileCase{"dotdot.zip", true, {"good.txt"}, "zip: entry '../evil.txt': refused (\"..\" in the path)"},
        HostileCase{"absolute.zip", true, {"good.txt"}, "zip: entry '/tmp/abs-evil.txt': refused (absolute path)"},
        HostileCase{"drive.zip", true, {"good.txt"}, "refused (drive prefix)"},
        HostileCase{"dot_prefix.zip", true, {"good.txt", "sub", "sub/inner.txt"}, ""},
        HostileCase{"dot_dotdot.zip", true, {"good.txt"}, "refused (\"..\" in the path)"},
        HostileCase{"dot_file.zip", true, {"good.txt"}, "zip: entry './.': refused (no file name)"},
        // The refused link leaves its name free: the file below it lands in a real folder.
        HostileCase{"link_out.zip", true, {"escape", "escape/evil.txt", "good.txt"}, "link points outside the folder"},
        HostileCase{"link_abs.zip", true, {"good.txt"}, "link points outside the folder"},
        HostileCase{"link_in.zip", true, {"inner", "sub", "sub/file.txt"}, ""},
        HostileCase{"crc.zip", true, {"good.txt"}, "zip: entry 'bad.txt': CRC mismatch"},
        HostileCase{"bomb.zip", true, {"good.txt"}, "longer than the recorded size"},
        HostileCase{"overlap.zip", false, {}, "entries overlap"},
        HostileCase{"badoffset.zip", false, {}, "offset lies outside the archive"}),
    [](const auto& info) {
        std::string n = info.param.archive;
        return n.substr(0, n.find('.'));
    });
