#pragma once
// The audio playlist of the main window: builds the playlist (BuildPlaylist, as a job off
// the UI thread) from the file list's items, its selection or .M3U files, re-checks it after
// every refresh of the list, and carries out the Music menu's and the panel's commands on
// the player (AudioPlayback). The panel (TPanelAudio) is shown under the folder tree only
// while the playlist has entries.

#include "media/playlist/AudioPlayback.h"
#include "media/playlist/EntryCache.h"
#include "media/playlist/Playlist.h"
#include "media/playlist/PlaylistBuildJob.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class JobRunner;
class QAction;
class QMenu;
class TPanelAudio;
class WindowContext;

class AudioPlayerController : public QObject {
    Q_OBJECT
public:
    using Mode = media::PlaylistBuildJob::Mode;
    using PathsFunction = std::function<QStringList()>;

    // holder: PanelAudio, which gets the panel; continuous and shuffle: the Music menu's
    // checkable items (the tool buttons show them).
    AudioPlayerController(WindowContext& context, QWidget* holder, QAction* continuous, QAction* shuffle, QObject* parent = nullptr);
    ~AudioPlayerController() override;

    // The file list's items and its selection (full paths).
    void setFileList(PathsFunction allItems, PathsFunction selectedItems);

    media::Playlist& playlist() { return m_playlist; }
    media::AudioPlayback& playback() { return *m_playback; }
    TPanelAudio* panel() const { return m_panel; }
    bool isBuilding() const { return bool(m_runner); }

    void BuildPlaylist(Mode mode);
    // The View command on an audio file or an .M3U file: the playlist is made anew and the
    // file (the playlist's first entry) plays.
    void viewAudio(const QString& path);
    // After every refresh of the file list: a stat per entry, no file read again.
    void recheck();
    // The volume (0..1000) through the panel's volume bar, which shows it.
    void setVolume(int volume);

    void MenuPlayPauseAudioClick();
    void MenuStopAudioClick();
    void MenuNextAudioClick();
    void MenuPrevAudioClick();
    void MenuClearPlaylistClick();
    void MenuSaveClickPlaylist();
    void PopupSendtoPlaylistClick();
    void MenuMusicClick();
    void ListViewAudioDblClick(int row);
    void ListViewAudioColumnClick(int column);

Q_SIGNALS:
    // A build has ended and its entries are shown.
    void built();
    // The entries shown changed (a build, a clear, a new View).
    void playlistChanged();

private:
    void addMenuItems();
    void connectPanel();
    void startBuild(Mode mode, QStringList items);
    void buildFinished();
    void showBuildProgress();
    void showPlaylist();
    void songStarted(const QString& path);
    void songStopped();
    void playFailed(const QString& path);
    void showPosition(qint64 positionMs, qint64 lengthMs);
    void updateCommands();

    WindowContext& m_context;
    QPointer<QWidget> m_holder;
    TPanelAudio* m_panel = nullptr;
    QAction* m_continuous;
    QAction* m_shuffle;
    media::Playlist m_playlist;
    media::EntryCache m_cache;
    std::unique_ptr<media::AudioPlayback> m_playback;
    std::unique_ptr<media::PlaylistBuildJob> m_job;
    std::unique_ptr<JobRunner> m_runner;
    Mode m_buildMode = Mode::Recheck;
    std::optional<std::pair<Mode, QStringList>> m_pendingBuild;
    QString m_playAfterBuild; // the View command's file, played once the build ends
    bool m_playFirstAfterBuild = false;
    QTimer m_progress;
    PathsFunction m_allItems;
    PathsFunction m_selectedItems;
    QMenu* m_music = nullptr;
    QAction* m_playPause = nullptr;
    QAction* m_stop = nullptr;
    QAction* m_next = nullptr;
    QAction* m_prev = nullptr;
    QAction* m_save = nullptr;
    QAction* m_clear = nullptr;
};
