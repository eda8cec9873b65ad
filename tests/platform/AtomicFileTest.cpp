// Whole-file writes: a replacement takes the old file's place only when complete, a new file
// never takes the place of anything, and neither leaves a temporary file behind.
#include "platform/AtomicFile.h"
#include "platform/FileName.h"
#include "platform/LocalFiles.h"
#include "support/TempHome.h"

#include <QFile>

#include <unistd.h>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class AtomicFileTest : public TempHomeTest {};

TEST_F(AtomicFileTest, ReplacesWholeAndNeverCreatesOverAnEntry)
{
    const QString folder = makeFolder(QStringLiteral("out"));
    const QString old = makeFile(QStringLiteral("out/old.txt"), "old");
    const QString fresh = folder + QStringLiteral("/new.txt");
    const QString dangling = folder + QStringLiteral("/link");
    ASSERT_EQ(::symlink("nowhere", QFile::encodeName(dangling).constData()), 0);

    EXPECT_TRUE(AtomicFile::replace(FileName::encode(old), "replaced"));
    EXPECT_EQ(bytesOf(old), "replaced");
    EXPECT_TRUE(AtomicFile::createNew(FileName::encode(fresh), "fresh"));
    EXPECT_EQ(bytesOf(fresh), "fresh");

    EXPECT_EQ(AtomicFile::createNew(FileName::encode(old), "other").errorString(), old + QStringLiteral(" already exists"));
    EXPECT_EQ(bytesOf(old), "replaced");
    EXPECT_EQ(AtomicFile::createNew(FileName::encode(dangling), "other").errorString(), dangling + QStringLiteral(" already exists"));
    EXPECT_TRUE(LocalFiles::isSymLink(dangling));
    EXPECT_EQ(LocalFiles::entryNames(folder), (QStringList{"link", "new.txt", "old.txt"}));
}
