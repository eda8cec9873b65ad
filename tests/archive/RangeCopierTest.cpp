// Ranges of an input and new bytes written to an output: in memory, from file to file (the
// kernel copies), and to a file from an input without one must give the same bytes, and
// leave the device where the last byte ends.
#include "archive/io/MappedFile.h"
#include "archive/io/RangeCopier.h"
#include "support/TempHome.h"

#include <QBuffer>
#include <QFile>

#include <memory>

namespace {

class RangeCopierTest : public TempHomeTest {};

} // namespace

TEST_F(RangeCopierTest, EveryOutputGetsTheSameBytes)
{
    QByteArray input(400000, '\0');
    for (qsizetype i = 0; i < input.size(); ++i)
        input[i] = char(i * 7 + i / 251);
    zipio::MappedFile mapped;
    ASSERT_TRUE(mapped.open(makeFile(QStringLiteral("input.bin"), input)));
    const QByteArray expected = "lead" + input.mid(10, 150000) + "mid" + input.mid(300000, 100000) + "end";

    struct Case {
        const char* name;
        bool inputFile;
        bool fileOutput;
    };
    for (const Case& c : {Case{"memory to memory", true, false}, Case{"file to file", true, true},
                          Case{"memory to file", false, true}}) {
        SCOPED_TRACE(c.name);
        QByteArray memory;
        QBuffer buffer(&memory);
        QFile file(home().root() + QStringLiteral("/out-") + QString::fromLatin1(c.name).replace(QLatin1Char(' '), QLatin1Char('-')));
        QIODevice& out = c.fileOutput ? static_cast<QIODevice&>(file) : buffer;
        ASSERT_TRUE(out.open(QIODevice::ReadWrite));
        out.write("lead");
        {
            zipio::RangeCopier copier(mapped.data(), c.inputFile ? mapped.fd() : -1, &out);
            EXPECT_TRUE(copier.copy(10, 150000));
            EXPECT_TRUE(copier.write("mid", 3));
            EXPECT_TRUE(copier.copy(300000, 100000));
            EXPECT_TRUE(copier.copy(0, 0));
            EXPECT_EQ(copier.pos(), uint64_t(expected.size() - 3));
        }
        EXPECT_EQ(out.pos(), expected.size() - 3);
        out.write("end");
        ASSERT_TRUE(out.seek(0));
        EXPECT_TRUE(out.readAll() == expected);
    }
}
