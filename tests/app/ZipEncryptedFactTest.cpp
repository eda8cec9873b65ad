// The View button's encrypted-archive picture rests on one fact the worker finds: whether a
// ".ZIP" file's first entry is encrypted.
#include "app/PathFactsCache.h"
#include "support/TempHome.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace {

class ZipEncryptedFactTest : public TempHomeTest {};

TEST_F(ZipEncryptedFactTest, OnlyAnArchiveWhoseFirstEntryIsEncrypted)
{
    const QString folder = makeFolder(QStringLiteral("z"));
    makeFile(QStringLiteral("z/a.txt"), "a");
    const auto zip = [&](const QString& name, const QStringList& options) -> QString {
        QProcess p;
        p.setWorkingDirectory(folder);
        p.start(QStringLiteral("zip"), QStringList{QStringLiteral("-q")} + options + QStringList{name, QStringLiteral("a.txt")});
        EXPECT_TRUE(p.waitForFinished());
        return folder + QLatin1Char('/') + name;
    };
    struct Case {
        QString path;
        bool encrypted;
    };
    const Case cases[] = {
        {zip(QStringLiteral("locked.ZIP"), {QStringLiteral("-P"), QStringLiteral("pw")}), true},
        {zip(QStringLiteral("open.zip"), {}), false},
        {makeFile(QStringLiteral("z/fake.zip"), "PK\x03\x04 no archive"), false},
        {makeFile(QStringLiteral("z/locked.txt"), "PK"), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathFactsCache::look(c.path).zipEncrypted, c.encrypted) << qPrintable(c.path);
}

} // namespace
