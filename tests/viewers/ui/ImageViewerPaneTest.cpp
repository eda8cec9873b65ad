// The image viewer pane: pictures decoded off the UI thread and shown with their size in
// the status bar, the JPEG scale box reloading the picture, stretching, and the open error
// for what is no picture (a FIFO, a damaged file) that returns to the file manager.
#include "support/FakeWindowContext.h"
#include "support/TempHome.h"

#include "viewers/ui/ImageViewerPane.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QAction>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <sys/stat.h>

namespace {

QByteArray jpegOf(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "jpg");
    return bytes;
}

class ImageViewerPaneTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        context = std::make_unique<FakeWindowContext>(&window);
        scale = new QComboBox(&window);
        scale->addItems({QStringLiteral("1:1"), QStringLiteral("1:2"), QStringLiteral("1:4"), QStringLiteral("1:8")});
        pane = new ImageViewerPane(*context, scale, &window);
        pane->resize(400, 300);
        window.setCentralWidget(pane);
    }

    // Enters the pane with path and waits for the picture or the error.
    bool show(const QString& path)
    {
        QSignalSpy shown(pane, &ImageViewerPane::pictureShown);
        QSignalSpy failed(pane, &ImageViewerPane::loadFailed);
        pane->enter(path);
        return QTest::qWaitFor([&] { return !shown.isEmpty() || !failed.isEmpty(); }, 5000);
    }

    QString status(int panel) const { return context->statusPanel(panel)->text(); }

    QMainWindow window;
    std::unique_ptr<FakeWindowContext> context;
    QComboBox* scale = nullptr;
    ImageViewerPane* pane = nullptr;
};

} // namespace

TEST_F(ImageViewerPaneTest, AJpegShowsAtTheChosenScaleAndAChangeReloadsIt)
{
    const QString path = makeFile(QStringLiteral("photo.jpg"), jpegOf(640, 480));
    ASSERT_TRUE(show(path));
    EXPECT_EQ(status(1), QStringLiteral("640x480"));
    EXPECT_EQ(pane->ImageViewer()->size(), QSize(640, 480));
    QSignalSpy shown(pane, &ImageViewerPane::pictureShown);
    scale->setCurrentIndex(3);
    ASSERT_TRUE(shown.wait(5000));
    EXPECT_EQ(status(1), QStringLiteral("80x60"));
    EXPECT_EQ(pane->picture().image.size(), QSize(80, 60));
    pane->leave();
    EXPECT_TRUE(pane->picture().image.isNull());
    EXPECT_TRUE(status(1).isEmpty());
    // The scale stays for the next picture.
    ASSERT_TRUE(show(path));
    EXPECT_EQ(status(1), QStringLiteral("80x60"));
}

TEST_F(ImageViewerPaneTest, StretchFillsThePaneAndStaysForTheNextPicture)
{
    const QString small = makeFile(QStringLiteral("small.jpg"), jpegOf(40, 30));
    ASSERT_TRUE(show(small));
    EXPECT_EQ(pane->ImageViewer()->size(), QSize(40, 30));
    context->button(BandButton::Zoom)->click();
    EXPECT_TRUE(pane->isStretched());
    EXPECT_EQ(pane->ImageViewer()->size(), pane->maximumViewportSize());
    pane->leave();
    ASSERT_TRUE(show(makeFile(QStringLiteral("other.jpg"), jpegOf(50, 20))));
    EXPECT_TRUE(pane->ImageViewer()->hasScaledContents());
    EXPECT_EQ(pane->ImageViewer()->size(), pane->maximumViewportSize());
    context->button(BandButton::Zoom)->click();
    EXPECT_EQ(pane->ImageViewer()->size(), QSize(50, 20));
}

TEST_F(ImageViewerPaneTest, WhatCannotBeShownIsReportedAndTheFileManagerReturns)
{
    const QString fifo = home().root() + QStringLiteral("/pipe.jpg");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString damaged = makeFile(QStringLiteral("damaged.jpg"), jpegOf(64, 48).left(40));
    for (const QString& path : {fifo, damaged}) {
        prompter().answer(PromptButton::Ok);
        ASSERT_TRUE(show(path));
        const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
        EXPECT_TRUE(prompter().last().text.startsWith(QStringLiteral("Can not open image file to view \r\n") + name + QStringLiteral("\r\n\r\n")))
            << prompter().last().text.toStdString();
        EXPECT_EQ(context->switches.back(), vmFileManager);
        EXPECT_EQ(context->switchPaths.back(), path);
        pane->leave();
    }
}

TEST_F(ImageViewerPaneTest, APictureArrivingAfterTheUserLeftIsDropped)
{
    const QString path = makeFile(QStringLiteral("late.jpg"), jpegOf(300, 200));
    QSignalSpy shown(pane, &ImageViewerPane::pictureShown);
    pane->enter(path);
    pane->leave();
    EXPECT_FALSE(shown.wait(500));
    EXPECT_TRUE(pane->picture().image.isNull());
    EXPECT_TRUE(status(1).isEmpty());
}

TEST_F(ImageViewerPaneTest, ADraggedFrameIsCopiedAndAScaleChangeRemovesIt)
{
    ASSERT_TRUE(show(makeFile(QStringLiteral("photo.jpg"), jpegOf(160, 120))));
    QLabel* image = pane->ImageViewer();
    QTest::mousePress(image, Qt::LeftButton, Qt::NoModifier, QPoint(100, 90));
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 30), image->mapToGlobal(QPointF(20, 30)), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(image, &move);
    QTest::mouseRelease(image, Qt::LeftButton, Qt::NoModifier, QPoint(400, 10));
    EXPECT_EQ(pane->crop().frame(), QRect(QPoint(100, 10), QPoint(159, 89))) << "ended outside: limited to the picture";
    pane->MenuCopyClick();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(60, 80));
    EXPECT_TRUE(pane->crop().frame().isEmpty());
    pane->MenuCopyClick();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(160, 120)) << "no drag: the whole picture";

    QTest::mousePress(image, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseRelease(image, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    ASSERT_FALSE(pane->crop().frame().isEmpty());
    QSignalSpy shown(pane, &ImageViewerPane::pictureShown);
    scale->setCurrentIndex(1);
    ASSERT_TRUE(shown.wait(5000));
    EXPECT_TRUE(pane->crop().frame().isEmpty());
    EXPECT_FALSE(pane->crop().started());
}

TEST_F(ImageViewerPaneTest, IconsAreNotCopied)
{
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::yellow);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    icon.save(&buffer, "ico");
    ASSERT_TRUE(show(makeFile(QStringLiteral("app.ico"), bytes)));
    for (void (ImageViewerPane::*command)() : {&ImageViewerPane::MenuCopyClick, &ImageViewerPane::MenuSelectAllClick}) {
        prompter().answer(PromptButton::Ok);
        (pane->*command)();
        EXPECT_EQ(prompter().last().text, QStringLiteral("Can't copy this type of graphic file."));
    }
    EXPECT_FALSE(pane->PopupMenuMovieImages()->findChild<QAction*>(QStringLiteral("PopupMenuMovieImageCopy"))->isVisible());
}

// The popup offers Copy for a picture it copies; Email asks the window's mail command; Close
// goes back to the file manager, and Delete does too before the list's Delete sends the file away.
TEST_F(ImageViewerPaneTest, ThePopupCopiesClosesAndDeletesFromTheFileManager)
{
    auto* deleteAction = new QAction(&window);
    deleteAction->setObjectName(QStringLiteral("MenuDelete"));
    QSignalSpy deleted(deleteAction, &QAction::triggered);
    const QString path = makeFile(QStringLiteral("photo.jpg"), jpegOf(64, 48));
    ASSERT_TRUE(show(path));
    QMenu* popup = pane->PopupMenuMovieImages();
    const QList<QAction*> items = popup->actions();
    QStringList captions;
    for (QAction* item : items)
        captions << item->text();
    EXPECT_EQ(captions, (QStringList{"Copy", "Delete", "Move to...", "Copy to...", "Email", "Close", "Properties"}));
    ASSERT_TRUE(items[0]->isVisible());
    items[0]->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(64, 48));
    // Email mails the list's selection (the viewed file) from here, without leaving.
    auto* mailAction = new QAction(&window);
    mailAction->setObjectName(QStringLiteral("MenuMail"));
    QSignalSpy mailed(mailAction, &QAction::triggered);
    items[4]->trigger();
    EXPECT_EQ(mailed.size(), 1);
    EXPECT_TRUE(context->switches.isEmpty());
    items[5]->trigger();
    ASSERT_EQ(context->switches.size(), 1);
    EXPECT_EQ(context->switches.last(), vmFileManager);
    items[1]->trigger();
    EXPECT_EQ(context->switches.size(), 2);
    EXPECT_EQ(deleted.size(), 1);
}
