// The graphics conversions: the accepted kind converted, other files and unreadable ones
// reported as "ERROR on" while the batch goes on, the replace question for an existing
// output, and lossless round trips through BMP and TIFF.
#include "viewers/image/ConversionJob.h"

#include "viewers/image/PictureFile.h"
#include "viewers/tiff/Bmp2Tiff.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>

namespace {

class ScriptedResolver final : public JobResolver {
public:
    std::deque<JobConflictChoice> answers;
    QList<QByteArray> asked;
    JobConflictChoice resolveConflict(const JobConflict& conflict) override
    {
        asked << conflict.existing;
        const JobConflictChoice answer = answers.empty() ? JobConflictChoice::Cancel : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }
    JobErrorChoice resolveError(const JobError&) override { return JobErrorChoice::Abort; }
};

QImage pattern()
{
    QImage image(24, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x)
            image.setPixel(x, y, qRgb(x * 10, y * 15, 128));
    return image;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QImage loaded(const QString& path)
{
    LoadedPicture picture;
    EXPECT_TRUE(PictureFile::load(path, 0, picture).ok()) << path.toStdString();
    return picture.image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(ConversionJob, ConvertsTheAcceptedKindAndReportsTheRestWithoutStopping)
{
    QTemporaryDir dir;
    const QString bmp = dir.filePath(QStringLiteral("a.bmp"));
    ASSERT_TRUE(pattern().save(bmp, "BMP"));
    writeBytes(dir.filePath(QStringLiteral("broken.bmp")), "BM not really");
    writeBytes(dir.filePath(QStringLiteral("note.txt")), "text");
    ASSERT_TRUE(pattern().save(dir.filePath(QStringLiteral("z.BMP")), "BMP"));
    QDir().mkdir(dir.filePath(QStringLiteral("out")));
    const QStringList files{bmp, dir.filePath(QStringLiteral("broken.bmp")), dir.filePath(QStringLiteral("note.txt")), dir.filePath(QStringLiteral("z.BMP"))};
    ConversionJob job(*ConversionJob::conversionNamed(QStringLiteral("bmp2jpg")), dir.filePath(QStringLiteral("out")), files);
    job.run();
    EXPECT_TRUE(job.succeeded());
    EXPECT_EQ(job.written(), 2);
    const QStringList messages = job.messages();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("ERROR on broken.bmp: ")));
    EXPECT_EQ(messages[1], QStringLiteral("ERROR on note.txt"));
    const QImage jpeg = loaded(dir.filePath(QStringLiteral("out/a.jpg")));
    EXPECT_EQ(jpeg.size(), QSize(24, 16));
    EXPECT_LT(std::abs(qRed(jpeg.pixel(20, 8)) - 200), 24) << "lossy, but close";
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("out/z.jpg"))));
}

TEST(ConversionJob, LosslessRoundTripsKeepEveryPixel)
{
    QTemporaryDir dir;
    ASSERT_TRUE(pattern().save(dir.filePath(QStringLiteral("p.bmp")), "BMP"));
    ConversionJob toTiff(*ConversionJob::conversionNamed(QStringLiteral("bmp2tif")), dir.path(), {dir.filePath(QStringLiteral("p.bmp"))});
    toTiff.run();
    QDir().mkdir(dir.filePath(QStringLiteral("back")));
    ConversionJob toBmp(*ConversionJob::conversionNamed(QStringLiteral("tif2bmp")), dir.filePath(QStringLiteral("back")), {dir.filePath(QStringLiteral("p.tif"))});
    toBmp.run();
    EXPECT_EQ(toBmp.written(), 1);
    EXPECT_EQ(loaded(dir.filePath(QStringLiteral("back/p.bmp"))), pattern());
    EXPECT_FALSE(ConversionJob::conversionNamed(QStringLiteral("bmp2png")));
}

TEST(ConversionJob, AnExistingOutputIsReplacedOnlyWhenTheUserSaysSo)
{
    QTemporaryDir dir;
    for (const char* name : {"one.bmp", "two.bmp", "three.bmp"})
        ASSERT_TRUE(pattern().save(dir.filePath(QLatin1String(name)), "BMP"));
    QDir().mkdir(dir.filePath(QStringLiteral("out")));
    for (const char* name : {"one.jpg", "two.jpg", "three.jpg"})
        writeBytes(dir.filePath(QStringLiteral("out/") + QLatin1String(name)), "the user's own photo");
    const QStringList files{dir.filePath(QStringLiteral("one.bmp")), dir.filePath(QStringLiteral("two.bmp")), dir.filePath(QStringLiteral("three.bmp"))};
    ScriptedResolver resolver;
    resolver.answers = {JobConflictChoice::Skip, JobConflictChoice::ProceedAll};
    ConversionJob job(*ConversionJob::conversionNamed(QStringLiteral("bmp2jpg")), dir.filePath(QStringLiteral("out")), files);
    job.setResolver(&resolver);
    job.run();
    EXPECT_EQ(resolver.asked.size(), 2) << "Yes to All asks no more";
    EXPECT_EQ(fileBytes(dir.filePath(QStringLiteral("out/one.jpg"))), QByteArray("the user's own photo"));
    EXPECT_EQ(loaded(dir.filePath(QStringLiteral("out/two.jpg"))).size(), QSize(24, 16));
    EXPECT_EQ(loaded(dir.filePath(QStringLiteral("out/three.jpg"))).size(), QSize(24, 16));
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files).size(), 3) << "no temporary file left";

    ScriptedResolver cancel;
    cancel.answers = {JobConflictChoice::Cancel};
    ConversionJob cancelled(*ConversionJob::conversionNamed(QStringLiteral("bmp2jpg")), dir.filePath(QStringLiteral("out")), files);
    writeBytes(dir.filePath(QStringLiteral("out/one.jpg")), "again");
    cancelled.setResolver(&cancel);
    cancelled.run();
    EXPECT_TRUE(cancelled.isCancelled());
    EXPECT_EQ(cancelled.written(), 0);
    EXPECT_EQ(fileBytes(dir.filePath(QStringLiteral("out/one.jpg"))), QByteArray("again"));
}
