#pragma once
// The movie player pane (mode vmMoviePlayer): the movie plays in a display widget shared with
// the image viewer (ScrollBox1), sized by the scale bar TrackBarMediaRes ("160x120" ... "Full"),
// with the position bar MediaTrackBar ("m:ss  -  m:ss", length first), updated every 250 ms.
//
// The end of a movie is the back end's end of the media, handled once per loaded movie:
// Repeat plays it again, else Show Next File moves on to the next file of the list, else the
// file manager comes back. A movie that cannot be opened or played is reported ("Can not open
// movie to view") and the file manager shown; it never counts as an end.
//
// A right click on the display opens the menu the picture viewer has (without its Copy):
// Delete, Move to..., Copy to..., Email, Close and Properties act on the movie file.

#include "media/playlist/AudioPlayback.h"
#include "media/playlist/PlaybackRules.h"
#include "platform/ui/ViewPane.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

class MediaPlayer;
class MovieImageMenu;
class QMenu;
class QAbstractButton;
class QSlider;
class WindowContext;
enum class MediaNotifyValue;

class MoviePlayerPane : public QObject, public ViewPane {
    Q_OBJECT
public:
    // trackBar: MediaTrackBar; scale: TrackBarMediaRes; loop: ButtonLoopMovie; showNextFile:
    // the option "Show Next File (Media)".
    MoviePlayerPane(WindowContext& context, QWidget* display, QSlider* trackBar, QSlider* scale, QAbstractButton* loop,
                    std::function<bool()> showNextFile, QObject* parent = nullptr);
    ~MoviePlayerPane() override;

    TViewMode mode() const override { return vmMoviePlayer; }
    QWidget* widget() const override;
    int toolBand() const override { return bandMovie; }
    PaneChromes chrome() const override { return PaneChrome::TrackBar; }
    QString settingsGroup() const override { return QString(); }
    void enter(const QString& path) override;
    void leave() override;
    void stepFile(int) override {}

    // The player while a movie is loaded, else nullptr.
    MediaPlayer* player() const { return m_player.get(); }
    // The display rectangle of a scale position: 0 to 3 fixed sizes at the top left, 4 the
    // whole display.
    static QRect videoRect(int position, const QSize& display);
    static QString scaleLabel(int position);
    // ApplyVideoScale: sizes the video by the scale bar.
    void ApplyVideoScale();
    // One tick of TimerMovie.
    void TimerMovieTimer();
    // The display's context menu while the pane is shown.
    QMenu* PopupMenuMovie() const;

Q_SIGNALS:
    // Show Next File at the end of a movie: the window steps the list and shows the file.
    void nextFileRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void play();
    void noticed(MediaNotifyValue value);
    void failed(const QString& reason);
    void close();
    void MediaTrackBarChange();

    WindowContext& m_context;
    QPointer<QWidget> m_display;
    QSlider* m_trackBar;
    QSlider* m_scale;
    QAbstractButton* m_loop;
    std::function<bool()> m_showNextFile;
    std::unique_ptr<MediaPlayer> m_player;
    media::MovieEndGuard m_end;
    QTimer m_timer;
    // Made in the display, so it goes with it.
    QPointer<MovieImageMenu> m_popup;
    QString m_path;
    bool m_entered = false;
};
