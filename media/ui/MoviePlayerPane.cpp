#include "media/ui/MoviePlayerPane.h"

#include "browse/FileFormat.h"
#include "media/ui/TFolTrackBar.h"
#include "platform/FileName.h"
#include "platform/LocalFiles.h"
#include "platform/MediaPlayer.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"
#include "platform/ui/WindowContext.h"
#include "viewers/ui/MovieImageMenu.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QEvent>
#include <QLabel>
#include <QSlider>
#include <QWidget>

#include <sys/stat.h>

using namespace media;

namespace {

constexpr int kTimerMs = 250;

struct VideoSize {
    int width, height;
    const char* label;
};
const VideoSize kSizes[] = {{160, 120, "160x120"}, {240, 180, "240x180"}, {320, 240, "320x240"}, {640, 480, "640x480"}, {0, 0, "Full"}};
constexpr int kFull = 4;

} // namespace

MoviePlayerPane::MoviePlayerPane(WindowContext& context, QWidget* display, QSlider* trackBar, QSlider* scale, QAbstractButton* loop,
                                 std::function<bool()> showNextFile, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_display(display)
    , m_trackBar(trackBar)
    , m_scale(scale)
    , m_loop(loop)
    , m_showNextFile(std::move(showNextFile))
    , m_popup(new MovieImageMenu(context, [this] { return m_path; }, {}, display))
{
    // The picture viewer's own menu lives in the same display; this one is told apart by name.
    m_popup->setObjectName(QStringLiteral("PopupMenuMovie"));
    setObjectName(QStringLiteral("MoviePlayer"));
    m_timer.setInterval(kTimerMs);
    connect(&m_timer, &QTimer::timeout, this, &MoviePlayerPane::TimerMovieTimer);
    connect(m_scale, &QSlider::valueChanged, this, &MoviePlayerPane::ApplyVideoScale);
    connect(m_trackBar, &QSlider::sliderReleased, this, &MoviePlayerPane::MediaTrackBarChange);
    m_display->installEventFilter(this);
    m_scale->setToolTip(scaleLabel(m_scale->value()));
}

MoviePlayerPane::~MoviePlayerPane()
{
    if (m_player)
        m_player->disconnect(this);
}

QWidget* MoviePlayerPane::widget() const
{
    return m_display;
}

QRect MoviePlayerPane::videoRect(int position, const QSize& display)
{
    position = qBound(0, position, kFull);
    if (position == kFull)
        return QRect(QPoint(0, 0), display);
    return QRect(0, 0, kSizes[position].width, kSizes[position].height);
}

QString MoviePlayerPane::scaleLabel(int position)
{
    return QLatin1String(kSizes[qBound(0, position, kFull)].label);
}

QMenu* MoviePlayerPane::PopupMenuMovie() const
{
    return m_popup;
}

void MoviePlayerPane::enter(const QString& path)
{
    m_entered = true;
    m_path = path;
    m_scale->setToolTip(scaleLabel(m_scale->value()));
    if (!LocalFiles::exists(path))
        return;
    m_player = MediaPlayer::create();
    connect(m_player.get(), &MediaPlayer::notified, this, &MoviePlayerPane::noticed);
    ApplyVideoScale();
    if (!m_player->open(path)) {
        failed(m_player->errorString());
        return;
    }
    play();
    m_timer.start();
    m_context.statusPanel(3)->setText(QStringLiteral("MOVIE VIEWER"));
}

void MoviePlayerPane::leave()
{
    m_entered = false;
    if (m_popup)
        m_popup->hide();
    m_timer.stop();
    m_end.reset();
    if (m_player) {
        m_player->disconnect(this);
        m_player->close();
        // The video widget goes with its player: the shared display shows pictures again.
        m_player.reset();
    }
    if (auto* bar = qobject_cast<TFolTrackBar*>(m_trackBar))
        bar->setLabelText(QString());
}

// Only a play asks for its completion, so the one Successful notice is the end of the media.
void MoviePlayerPane::play()
{
    m_player->setNotify(true);
    const bool ok = m_player->play();
    m_player->setNotify(false);
    if (ok)
        m_end.loaded();
    else
        failed(m_player->errorString());
}

void MoviePlayerPane::noticed(MediaNotifyValue value)
{
    if (value == MediaNotifyValue::Failure) {
        failed(m_player->errorString());
        return;
    }
    if (value != MediaNotifyValue::Successful || !m_end.takeEnd())
        return;
    switch (movieEndAction(m_loop->isChecked(), m_showNextFile())) {
    case MovieEndAction::Repeat:
        m_player->seek(0);
        play();
        return;
    case MovieEndAction::ShowNextFile:
        Q_EMIT nextFileRequested();
        return;
    case MovieEndAction::Close:
        close();
        return;
    }
}

void MoviePlayerPane::failed(const QString& reason)
{
    const QString path = m_path;
    m_timer.stop();
    m_end.reset();
    if (m_player)
        m_player->close();
    Prompter::instance().error(QStringLiteral("Can not open movie to view \r\n") + path + QStringLiteral("\r\n\r\n") + reason);
    // Called inside the switch that entered the pane: the file manager comes after it.
    QTimer::singleShot(0, this, [this, path] { m_context.switchMode(vmFileManager, path); });
}

void MoviePlayerPane::close()
{
    m_timer.stop();
    if (m_player)
        m_player->close();
    QTimer::singleShot(0, this, [this] { m_context.switchMode(vmFileManager, m_path); });
}

void MoviePlayerPane::ApplyVideoScale()
{
    const int position = m_scale->value();
    m_scale->setToolTip(scaleLabel(position));
    if (m_player && m_display)
        m_player->setDisplay(m_display, videoRect(position, m_display->size()));
}

void MoviePlayerPane::TimerMovieTimer()
{
    if (!m_player || m_trackBar->isSliderDown())
        return;
    const qint64 length = m_player->length();
    const qint64 position = m_player->position();
    m_trackBar->setMaximum(int(qMin<qint64>(length, INT_MAX)));
    m_trackBar->setValue(int(qMin<qint64>(position, INT_MAX)));
    m_context.statusPanel(0)->setText(PathText::nameOf(m_path));
    struct stat st {};
    if (::stat(FileName::encode(m_path).constData(), &st) == 0)
        m_context.statusPanel(1)->setText(FormatFileSize(st.st_size));
    m_context.statusPanel(3)->setText(QStringLiteral("MOVIE VIEWER"));
    m_context.statusPanel(2)->setText(media::AudioPlayback::modeName(m_player->mode()));
    if (auto* bar = qobject_cast<TFolTrackBar*>(m_trackBar))
        bar->setLabelText(movieBarLabel(length, position));
}

// The seek waits until the user lets go of the bar, so it happens once.
void MoviePlayerPane::MediaTrackBarChange()
{
    if (!m_player)
        return;
    const bool playing = m_player->mode() == MediaMode::Playing;
    m_player->seek(m_trackBar->value());
    if (playing)
        play();
}

// A right click on the video reaches the display as well, for the video widget leaves it
// to its parent; the picture viewer leaves it too while it is not shown.
bool MoviePlayerPane::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_display && event->type() == QEvent::ContextMenu && m_entered && m_popup) {
        m_popup->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (watched == m_display && event->type() == QEvent::Resize && m_player && m_scale->value() == kFull)
        ApplyVideoScale();
    return QObject::eventFilter(watched, event);
}
