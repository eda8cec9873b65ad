// Photographs the CD player (over a fake drive with a disc), the calendar and the about box:
// each window is drawn into a PNG in OUTDIR (works on the offscreen platform too).
//
//   accessory_shots OUTDIR
#include "accessories/ui/TAboutBox.h"
#include "accessories/ui/TCalForm.h"
#include "media/ui/TFormCD.h"

#include "support/FakeCdAudio.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDate>
#include <QTest>

#include <cstdio>

namespace {

void save(QWidget& window, const QString& folder, const char* name)
{
    window.show();
    QApplication::processEvents();
    const QString path = folder + QLatin1Char('/') + QLatin1String(name);
    if (window.grab().save(path))
        std::printf("wrote %s\n", qPrintable(path));
    else
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: accessory_shots OUTDIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);

    FakeCdAudio fake;
    fake.insertDisc({75 * 225, 75 * 187, 75 * 241, 75 * 199});
    fake.install();
    auto* cd = new TFormCD(CdAudioDevice::create(), [] { return QList<CdDrive>{{QStringLiteral("/dev/sr0"), true}}; });
    fake.setPosition(2, 75 * 83);
    cd->show();
    QTest::qWaitFor([cd] { return !cd->isBusy(); }, 5000);
    cd->TimerCD();
    QTest::qWaitFor([cd] { return !cd->isBusy(); }, 5000);
    save(*cd, out, "cd-player.png");

    TCalForm calendar(QStringLiteral("/tmp"));
    calendar.calendar()->setSelectedDate(QDate(2008, 2, 29));
    save(calendar, out, "calendar.png");

    TAboutBox about(QCoreApplication::applicationFilePath(), QStringLiteral("V3.00 Thu Dec 10, 2026"));
    save(about, out, "about.png");
    return 0;
}
