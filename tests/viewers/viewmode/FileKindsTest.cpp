// The file-kind tests of the view commands: extensions cut to five characters and compared
// ignoring case, and the content tests, which read only regular files and never block on a
// FIFO or touch a device.
#include "viewers/FileKinds.h"
#include "support/TempHome.h"

#include <QElapsedTimer>
#include <QFile>

#include <sys/stat.h>

using namespace FileKinds;

namespace {

using FileKindsTest = TempHomeTest;

TEST(FileKindsNames, ExtensionsAreCutToFiveCharactersAndCaseIsIgnored)
{
    struct Case {
        const char* path;
        bool movie, audio, image, program, web;
    } cases[] = {
        {"/d/CLIP.MPEG4", true, false, false, false, false}, // ".MPEG4" counts as ".MPEG"
        {"/d/clip.mpg", true, false, false, false, false},
        {"/d/song.Mp3", false, true, false, false, false},
        {"/d/photo.jpeg", false, false, true, false, false},
        {"/d/photo.JPEGX", false, false, true, false, false},
        {"/d/setup.bat", false, false, false, true, false}, // lower case still a program
        {"/d/page.HTML", false, false, false, false, true},
        {"/d/page.htmlx", false, false, false, false, true},
        {"/d.mp3/readme", false, false, false, false, false}, // a dot in a folder is no extension
        {"/d/noext", false, false, false, false, false},
        {"/d/film.MKV", true, false, false, false, false},
        {"/d/film.webm", true, false, false, false, false},
        {"/d/film.mp4", true, false, false, false, false},
        {"/d/film.mov", true, false, false, false, false},
        {"/d/film.MOVIE", false, false, false, false, false}, // ".MOVIE" is no ".MOV"
        {"/d/song.flac", false, true, false, false, false},
        {"/d/song.FLACS", false, true, false, false, false}, // five characters: ".FLAC"
        {"/d/song.opus", false, true, false, false, false},
        {"/d/song.ogg", false, true, false, false, false},
        {"/d/song.m4a", false, true, false, false, false},
        {"/d/song.m4b", false, false, false, false, false},
    };
    for (const Case& c : cases) {
        const QString path = QLatin1String(c.path);
        EXPECT_EQ(IsMovieFile(path), c.movie) << c.path;
        EXPECT_EQ(IsAudioFile(path), c.audio) << c.path;
        EXPECT_EQ(IsImageFile(path), c.image) << c.path;
        EXPECT_EQ(IsProgramFile(path), c.program) << c.path;
        EXPECT_EQ(IsWebPageFile(path), c.web) << c.path;
    }
    EXPECT_FALSE(HasExtension(QStringLiteral("/d/NOTE.TXTX"), QStringLiteral(".TXT"))) << "NOTE.TXTX is not .TXT";
    EXPECT_TRUE(HasExtension(QStringLiteral("/d/note.txt"), QStringLiteral(".TXT")));
    EXPECT_TRUE(HasExtension(QStringLiteral("/d/a.MPEG4"), QStringLiteral(".mpeg")));
    EXPECT_EQ(CutExtension(QStringLiteral("/d/CLIP.MPEG4")), QStringLiteral(".MPEG"));
}

TEST_F(FileKindsTest, TextZipAndJpegAreDecidedByTheFirstBytes)
{
    QByteArray binaryLate(1000, 'a');
    binaryLate += '\0'; // byte 1001 is not looked at
    QByteArray binaryAt999(999, 'a');
    binaryAt999 += '\0';
    struct Case {
        const char* name;
        QByteArray bytes;
        bool text, zip, jfif;
    } cases[] = {
        {"empty.txt", QByteArray(), true, false, false},
        {"plain.txt", "line\r\n\ttab\xe9\xff", true, false, false},
        {"zero.txt", QByteArray("ab\0cd", 5), false, false, false},
        {"escape.txt", "a\x1b[0m", false, false, false},
        {"late.txt", binaryLate, true, false, false},
        {"at999.txt", binaryAt999, false, false, false},
        {"good.zip", QByteArray("PK\x03\x04rest", 8), false, true, false},
        {"bad.zip", QByteArray("PK\x05\x06rest", 8), false, false, false},
        {"short.zip", "PK", true, false, false},
        {"a.jpg", QByteArray("\xff\xd8\xff\xe0\x00\x10JFIF\x00", 11), false, false, true},
        {"b.jpg", QByteArray("\xff\xd8\xff\xe1\x00\x10" "Exif\x00", 11), false, false, true},
        {"c.jpg", QByteArray("\xff\xd8\xff\xe0\x00\x10JF", 8), false, false, false},
    };
    for (const Case& c : cases) {
        const QString path = makeFile(QStringLiteral("kinds/") + QLatin1String(c.name), c.bytes);
        EXPECT_TRUE(CanOpenFile(path)) << c.name;
        EXPECT_EQ(IsTextFile(path), c.text) << c.name;
        EXPECT_EQ(IsZipFile(path), c.zip) << c.name;
        EXPECT_EQ(IsJfifOrExifFile(path), c.jfif) << c.name;
    }
    EXPECT_FALSE(CanOpenFile(home().root() + QStringLiteral("/kinds/missing.txt")));
    EXPECT_FALSE(IsTextFile(home().root() + QStringLiteral("/kinds/missing.txt"))) << "a missing file is no text";
    EXPECT_FALSE(CanOpenFile(home().root() + QStringLiteral("/kinds"))) << "a folder is no file to open";
}

// A FIFO or a device in a listed folder must neither hang the window nor be read: every
// content test answers at once that it cannot be opened.
TEST_F(FileKindsTest, FifosAndDevicesAreNeverOpened)
{
    const QString fifo = home().root() + QStringLiteral("/pipe.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QElapsedTimer timer;
    timer.start();
    for (const QString& path : {fifo, QStringLiteral("/dev/zero"), QStringLiteral("/dev/null")}) {
        EXPECT_FALSE(CanOpenFile(path)) << qPrintable(path);
        EXPECT_FALSE(IsTextFile(path)) << qPrintable(path);
        EXPECT_FALSE(IsZipFile(path)) << qPrintable(path);
        EXPECT_FALSE(readHead(path, 10).has_value()) << qPrintable(path);
    }
    EXPECT_LT(timer.elapsed(), 2000) << "no test waited for a writer";
    // A link to a regular file is the file.
    const QString target = makeFile(QStringLiteral("real.txt"), "text");
    const QString link = home().root() + QStringLiteral("/link.txt");
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_TRUE(IsTextFile(link));
}

TEST_F(FileKindsTest, InternetShortcutsGiveTheirUrlUpToTheSizeCap)
{
    const QString good = makeFile(QStringLiteral("good.url"), "[InternetShortcut]\r\nURL=https://example.org/a\r\n");
    const QString other = makeFile(QStringLiteral("other.url"), "[Other]\r\nURL=https://wrong.example/\r\n");
    const QString empty = makeFile(QStringLiteral("empty.url"), "[InternetShortcut]\r\nURL=\r\n");
    QByteArray padded = "[InternetShortcut]\r\nURL=https://example.org/big\r\n";
    padded += QByteArray(64 * 1024, ';');
    const QString big = makeFile(QStringLiteral("big.url"), padded);
    EXPECT_EQ(ReadInternetShortcutUrl(good), QStringLiteral("https://example.org/a"));
    EXPECT_EQ(ReadInternetShortcutUrl(other), QString());
    EXPECT_EQ(ReadInternetShortcutUrl(empty), QString());
    EXPECT_EQ(ReadInternetShortcutUrl(big), QString()) << "a file over 64 KiB is refused whole";
    EXPECT_EQ(ReadInternetShortcutUrl(home().root() + QStringLiteral("/missing.url")), QString());
}

} // namespace
