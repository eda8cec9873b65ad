#include "viewers/ui/ImageViewerPane.h"

#include "viewers/ui/MovieImageMenu.h"

#include "platform/PathText.h"
#include "platform/Prompter.h"
#include "platform/ui/WindowContext.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMovie>
#include <QPalette>
#include <QToolButton>
#include <QtConcurrent/QtConcurrentRun>

ImageViewerPane::ImageViewerPane(WindowContext& context, QComboBox* scale, QWidget* parent)
    : QScrollArea(parent)
    , m_context(context)
    , m_scale(scale)
    , m_image(new QLabel(this))
{
    setObjectName(QStringLiteral("ScrollBox1"));
    setAlignment(Qt::AlignCenter);
    setBackgroundRole(QPalette::Dark);
    m_image->setObjectName(QStringLiteral("ImageViewer"));
    m_image->setAlignment(Qt::AlignCenter);
    setWidget(m_image);
    m_image->installEventFilter(this);
    QToolButton* zoom = m_context.button(BandButton::Zoom);
    zoom->setCheckable(true);
    zoom->setToolTip(QStringLiteral("Stretch Graphic"));
    connect(zoom, &QToolButton::clicked, this, &ImageViewerPane::ButtonZoomClick);
    m_scale->setToolTip(QStringLiteral("Scale JPG"));
    connect(m_scale, &QComboBox::currentIndexChanged, this, &ImageViewerPane::ComboboxScaleJPGChange);
    connect(&m_loading, &QFutureWatcher<LoadResult>::finished, this, &ImageViewerPane::loaded);
}

// Copy is offered for pictures it can copy.
QMenu* ImageViewerPane::PopupMenuMovieImages()
{
    if (!m_popup)
        m_popup = new MovieImageMenu(m_context, [this] { return m_path; }, [this] { MenuCopyClick(); }, this);
    m_popup->copyItem()->setVisible(!m_picture.image.isNull() && m_picture.kind != PictureKind::Icon
                                    && m_picture.kind != PictureKind::Metafile);
    return m_popup;
}

// The movie player shows its video in this scroll box and offers its own menu there.
void ImageViewerPane::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_entered) {
        event->ignore();
        return;
    }
    PopupMenuMovieImages()->popup(event->globalPos());
}

ImageViewerPane::~ImageViewerPane()
{
    // The worker holds no reference to the pane; its result is waited for and dropped.
    m_loading.waitForFinished();
}

void ImageViewerPane::enter(const QString& path)
{
    m_entered = true;
    m_path = path;
    applyStretch();
    if (!path.isEmpty())
        load();
}

void ImageViewerPane::leave()
{
    m_entered = false;
    ++m_generation;
    clearPicture();
    m_context.statusPanel(1)->clear();
}

void ImageViewerPane::stepFile(int)
{
}

void ImageViewerPane::ButtonZoomClick()
{
    m_stretch = m_context.button(BandButton::Zoom)->isChecked();
    applyStretch();
}

void ImageViewerPane::ComboboxScaleJPGChange()
{
    if (m_entered && m_picture.kind == PictureKind::Jpeg && !m_path.isEmpty())
        load();
}

void ImageViewerPane::load()
{
    const quint64 generation = ++m_generation;
    const QString path = m_path;
    const int scaleIndex = std::max(0, m_scale->currentIndex());
    m_loading.setFuture(QtConcurrent::run([path, scaleIndex, generation] {
        LoadResult result;
        result.generation = generation;
        result.status = PictureFile::load(path, scaleIndex, result.picture);
        return result;
    }));
}

void ImageViewerPane::loaded()
{
    LoadResult result = m_loading.result();
    if (!m_entered || result.generation != m_generation)
        return;
    for (const QString& note : result.picture.notes)
        Prompter::instance().information(note);
    if (!result.status) {
        clearPicture();
        Prompter::instance().error(QStringLiteral("Can not open image file to view \r\n") + PathText::nameOf(m_path)
                                   + QStringLiteral("\r\n\r\n") + result.status.errorString());
        Q_EMIT loadFailed();
        m_context.switchMode(vmFileManager, m_path);
        return;
    }
    show(std::move(result.picture));
    Q_EMIT pictureShown();
}

void ImageViewerPane::show(LoadedPicture picture)
{
    clearPicture();
    m_picture = std::move(picture);
    if (!m_picture.animation.isEmpty()) {
        m_movieBytes = new QBuffer(this);
        m_movieBytes->setData(m_picture.animation);
        m_movie = new QMovie(m_movieBytes, "gif", this);
        m_image->setMovie(m_movie);
        m_movie->start();
    } else {
        m_image->setPixmap(QPixmap::fromImage(m_picture.image));
    }
    m_context.statusPanel(1)->setText(QStringLiteral("%1x%2").arg(m_picture.image.width()).arg(m_picture.image.height()));
    applyStretch();
}

void ImageViewerPane::clearPicture()
{
    m_image->clear();
    delete m_movie;
    m_movie = nullptr;
    delete m_movieBytes;
    m_movieBytes = nullptr;
    m_picture = LoadedPicture();
    m_crop.clear();
}

// Stretch on: the picture fills the pane. Off: the picture keeps its size, centred in the
// box and scrolled when larger.
void ImageViewerPane::applyStretch()
{
    m_context.button(BandButton::Zoom)->setChecked(m_stretch);
    m_image->setScaledContents(m_stretch);
    setWidgetResizable(m_stretch);
    if (!m_stretch)
        m_image->resize(m_picture.image.isNull() ? QSize(0, 0) : m_picture.image.size());
}

void ImageViewerPane::connectEditMenu()
{
    QMenu* edit = m_context.menu(MainMenu::Edit);
    const auto connectAction = [this, edit](const char* name, void (ImageViewerPane::*handler)()) {
        if (auto* action = edit->findChild<QAction*>(QLatin1String(name)))
            connect(action, &QAction::triggered, this, [this, handler] {
                if (m_context.currentMode() == vmImageViewer)
                    (this->*handler)();
            });
    };
    connectAction("MenuCopy", &ImageViewerPane::MenuCopyClick);
    connectAction("MenuSelectAll", &ImageViewerPane::MenuSelectAllClick);
}

bool ImageViewerPane::refusesCopy()
{
    if (m_picture.kind != PictureKind::Icon && m_picture.kind != PictureKind::Metafile)
        return false;
    Prompter::instance().information(QStringLiteral("Can't copy this type of graphic file."));
    return true;
}

void ImageViewerPane::MenuCopyClick()
{
    if (m_picture.image.isNull() || refusesCopy())
        return;
    QGuiApplication::clipboard()->setImage(m_crop.copyOf(m_picture.image));
    m_crop.clear();
    showFrame();
}

void ImageViewerPane::MenuSelectAllClick()
{
    if (m_picture.image.isNull() || refusesCopy())
        return;
    m_crop.selectAll(m_picture.image.size());
    showFrame();
}

// The frame is drawn on a still picture; an animated GIF plays on, and Copy takes its
// first frame.
void ImageViewerPane::showFrame()
{
    if (m_movie)
        return;
    m_image->setPixmap(QPixmap::fromImage(m_crop.drawnOn(m_picture.image)));
}

// A point on the label in the picture's pixels: the label is the picture's size, or the
// pane's when stretched.
QPoint ImageViewerPane::picturePoint(QPoint onLabel) const
{
    const QSize label = m_image->size();
    const QSize picture = m_picture.image.size();
    if (label.isEmpty() || label == picture)
        return onLabel;
    return QPoint(int(qint64(onLabel.x()) * picture.width() / label.width()),
                  int(qint64(onLabel.y()) * picture.height() / label.height()));
}

bool ImageViewerPane::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched != m_image || m_picture.image.isNull() || m_movie
        || (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease))
        return QScrollArea::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint at = picturePoint(mouse->position().toPoint());
    const bool iconOrMetafile = m_picture.kind == PictureKind::Icon || m_picture.kind == PictureKind::Metafile;
    if (type == QEvent::MouseButtonPress) {
        m_crop.press(at);
    } else if (!iconOrMetafile && mouse->modifiers() == Qt::NoModifier
               && (type == QEvent::MouseButtonRelease ? mouse->button() == Qt::LeftButton : mouse->buttons() == Qt::LeftButton)) {
        m_crop.drag(at, m_picture.image.size());
        showFrame();
    }
    return true;
}
