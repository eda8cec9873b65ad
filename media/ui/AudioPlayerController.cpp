#include "media/ui/AudioPlayerController.h"

#include "browse/BrowseNavigator.h"
#include "media/TWAVFile.h"
#include "media/playlist/M3uFile.h"
#include "media/playlist/PlaybackRules.h"
#include "media/ui/TFolTrackBar.h"
#include "media/ui/TPanelAudio.h"
#include "media/ui/TRunningText.h"
#include "platform/ChangeNotices.h"
#include "platform/JobRunner.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/Pickers.h"
#include "platform/Prompter.h"
#include "platform/ui/WindowContext.h"
#include "viewers/FileKinds.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace media;

namespace {

constexpr int kProgressMs = 100;

bool isPlaylistFile(const QString& path)
{
    return FileKinds::HasExtension(path, QStringLiteral(".M3U"));
}

} // namespace

AudioPlayerController::AudioPlayerController(WindowContext& context, QWidget* holder, QAction* continuous, QAction* shuffle, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_holder(holder)
    , m_continuous(continuous)
    , m_shuffle(shuffle)
    , m_playback(std::make_unique<AudioPlayback>(m_playlist))
{
    setObjectName(QStringLiteral("AudioPlayer"));
    m_panel = new TPanelAudio(holder);
    if (!holder->layout())
        new QVBoxLayout(holder);
    holder->layout()->setContentsMargins(0, 0, 0, 0);
    holder->layout()->addWidget(m_panel);
    holder->hide();
    m_playback->setContinuous([this] { return m_continuous->isChecked(); });
    m_playback->setShuffle([this] { return m_shuffle->isChecked(); });
    m_progress.setInterval(kProgressMs);
    connect(&m_progress, &QTimer::timeout, this, &AudioPlayerController::showBuildProgress);
    addMenuItems();
    connectPanel();
}

AudioPlayerController::~AudioPlayerController()
{
    m_runner.reset();
    m_playback->disconnect(this);
}

void AudioPlayerController::setFileList(PathsFunction allItems, PathsFunction selectedItems)
{
    m_allItems = std::move(allItems);
    m_selectedItems = std::move(selectedItems);
}

void AudioPlayerController::addMenuItems()
{
    m_music = m_context.menu(MainMenu::Music);
    QAction* before = m_music->actions().value(0);
    const auto add = [&](const char* name, const char* caption, void (AudioPlayerController::*handler)()) {
        auto* action = new QAction(QLatin1String(caption), m_music);
        action->setObjectName(QLatin1String(name));
        m_music->insertAction(before, action);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    m_playPause = add("MenuPlayPauseAudio", "Play/Pause Audio", &AudioPlayerController::MenuPlayPauseAudioClick);
    m_stop = add("MenuStopAudio", "Stop Audio", &AudioPlayerController::MenuStopAudioClick);
    m_next = add("MenuNextAudio", "Next Audio", &AudioPlayerController::MenuNextAudioClick);
    m_prev = add("MenuPrevAudio", "Prev Audio", &AudioPlayerController::MenuPrevAudioClick);
    m_save = add("MenuSavePlaylist", "Save Playlist", &AudioPlayerController::MenuSaveClickPlaylist);
    m_clear = add("MenuClearPlaylist", "Clear Playlist", &AudioPlayerController::MenuClearPlaylistClick);
    m_music->insertSeparator(before);
    connect(m_music, &QMenu::aboutToShow, this, &AudioPlayerController::MenuMusicClick);
    if (auto* popup = m_context.window()->findChild<QMenu*>(QStringLiteral("PopupMenuFile"))) {
        auto* send = new QAction(QStringLiteral("Send to Playlist..."), popup);
        send->setObjectName(QStringLiteral("PopupSendtoPlaylist"));
        popup->addAction(send);
        connect(send, &QAction::triggered, this, &AudioPlayerController::PopupSendtoPlaylistClick);
    }
}

void AudioPlayerController::connectPanel()
{
    TPanelAudio* p = m_panel;
    connect(p->ButtonPlaylistPlayPause, &QToolButton::clicked, this, &AudioPlayerController::MenuPlayPauseAudioClick);
    connect(p->ButtonPlaylistStop, &QToolButton::clicked, this, &AudioPlayerController::MenuStopAudioClick);
    connect(p->ButtonPLaylistNext, &QToolButton::clicked, this, &AudioPlayerController::MenuNextAudioClick);
    connect(p->ButtonPlayListPrev, &QToolButton::clicked, this, &AudioPlayerController::MenuPrevAudioClick);
    connect(p->ButtonPlaylistClear, &QToolButton::clicked, this, &AudioPlayerController::MenuClearPlaylistClick);
    connect(p->lButtonPlayListSave, &QToolButton::clicked, this, &AudioPlayerController::MenuSaveClickPlaylist);
    p->ButtonContinuous->setDefaultAction(m_continuous);
    p->ButtonShuffle->setDefaultAction(m_shuffle);
    connect(p->ListViewAudio, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { ListViewAudioDblClick(m_panel->ListViewAudio->indexOfTopLevelItem(item)); });
    connect(p->ListViewAudio->header(), &QHeaderView::sectionClicked, this, &AudioPlayerController::ListViewAudioColumnClick);
    connect(p->ListViewAudio, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { m_playlist.setCurrent(m_panel->ListViewAudio->indexOfTopLevelItem(item)); });
    // Seeking waits until the user lets go of the bar, so it happens once.
    connect(p->FolTrackBarAudio, &QSlider::sliderMoved, this, [this](int value) {
        m_panel->FolTrackBarAudio->setLabelText(audioTimeText(value) + QLatin1Char('/') + audioTimeText(m_panel->FolTrackBarAudio->maximum()));
    });
    connect(p->FolTrackBarAudio, &QSlider::sliderReleased, this, [this] { m_playback->seek(m_panel->FolTrackBarAudio->value()); });
    connect(p->FolTrackBarPlayListVolume, &QSlider::valueChanged, this, [this](int value) {
        m_panel->FolTrackBarPlayListVolume->setLabelText(volumeLabel(value));
        m_playback->setVolume(value);
    });
    connect(m_playback.get(), &AudioPlayback::songStarted, this, &AudioPlayerController::songStarted);
    connect(m_playback.get(), &AudioPlayback::songStopped, this, &AudioPlayerController::songStopped);
    connect(m_playback.get(), &AudioPlayback::songEnded, this, [this] { m_panel->showPlaying(false); });
    connect(m_playback.get(), &AudioPlayback::playFailed, this, &AudioPlayerController::playFailed);
    connect(m_playback.get(), &AudioPlayback::positionChanged, this, &AudioPlayerController::showPosition);
    connect(m_playback.get(), &AudioPlayback::currentChanged, m_panel, &TPanelAudio::selectRow);
    connect(m_playback.get(), &AudioPlayback::modeChanged, this, [this](const QString& name) {
        m_panel->showPlaying(name == QLatin1String("Playing"));
        if (m_context.currentMode() == vmFileManager)
            m_context.statusPanel(2)->setText(name);
    });
}

void AudioPlayerController::BuildPlaylist(Mode mode)
{
    QStringList items;
    if (mode == Mode::FromList && m_allItems)
        items = m_allItems();
    else if (mode == Mode::AddSelection && m_selectedItems)
        items = m_selectedItems();
    startBuild(mode, items);
}

void AudioPlayerController::startBuild(Mode mode, QStringList items)
{
    if (m_runner) {
        // One build at a time: the latest request runs next (a re-check never replaces a
        // build the user asked for).
        if (!(mode == Mode::Recheck && m_pendingBuild && m_pendingBuild->first != Mode::Recheck))
            m_pendingBuild = std::make_pair(mode, items);
        return;
    }
    QStringList current;
    for (const AudioInfo& entry : m_playlist.entries())
        current << entry.path;
    m_buildMode = mode;
    m_job = std::make_unique<PlaylistBuildJob>(mode, current, items, m_cache);
    m_runner = std::make_unique<JobRunner>(*m_job);
    connect(m_runner.get(), &JobRunner::finished, this, &AudioPlayerController::buildFinished);
    m_context.statusPanel(3)->setText(QStringLiteral("Checking music playlist..."));
    m_progress.start();
    m_runner->start();
}

void AudioPlayerController::showBuildProgress()
{
    if (m_runner)
        m_context.statusPanel(3)->setText(m_runner->progress().currentItem);
}

void AudioPlayerController::buildFinished()
{
    m_progress.stop();
    m_context.statusPanel(3)->setText(QStringLiteral("Updated music playlist complete..."));
    const Mode mode = m_buildMode;
    m_playlist.setEntries(m_job->entries());
    // The runner is inside its own signal: it goes once that has returned, and its job after it.
    JobRunner* runner = m_runner.release();
    connect(runner, &QObject::destroyed, [job = m_job.release()] { delete job; });
    runner->deleteLater();
    const QString playing = m_playback->fileName();
    m_playlist.selectAfterBuild(LocalFiles::exists(playing) ? playing : QString());
    showPlaylist();
    m_context.statusPanel(3)->clear();
    if (m_playlist.isEmpty()) {
        m_playback->stop();
        if (mode != Mode::Recheck)
            Prompter::instance().error(QStringLiteral("No files added to playlist"));
        m_playAfterBuild.clear();
        m_playFirstAfterBuild = false;
    } else if (!m_pendingBuild && (!m_playAfterBuild.isEmpty() || m_playFirstAfterBuild)) {
        // (with a build still to come, the song waits for the playlist that holds it)
        const int index = m_playFirstAfterBuild ? 0 : qMax(0, m_playlist.indexOf(m_playAfterBuild));
        m_playAfterBuild.clear();
        m_playFirstAfterBuild = false;
        m_playback->playEntry(index);
    }
    Q_EMIT built();
    if (m_pendingBuild) {
        const auto [next, items] = *m_pendingBuild;
        m_pendingBuild.reset();
        startBuild(next, items);
    }
}

void AudioPlayerController::showPlaylist()
{
    m_panel->showEntries(m_playlist.entries(), m_playlist.current());
    updateCommands();
    // The panel is seen only while the playlist has entries.
    m_holder->setVisible(!m_playlist.isEmpty());
    Q_EMIT playlistChanged();
}

void AudioPlayerController::updateCommands()
{
    const int count = m_playlist.count();
    for (QToolButton* button : {m_panel->ButtonPlaylistPlayPause, m_panel->ButtonPlaylistStop, m_panel->ButtonPlaylistClear, m_panel->lButtonPlayListSave})
        button->setEnabled(count > 0);
    m_panel->ButtonPLaylistNext->setEnabled(count > 1);
    m_panel->ButtonPlayListPrev->setEnabled(count > 1);
}

void AudioPlayerController::recheck()
{
    if (!m_playlist.isEmpty())
        startBuild(Mode::Recheck, {});
}

void AudioPlayerController::setVolume(int volume)
{
    m_panel->FolTrackBarPlayListVolume->setValue(qBound(0, volume, 1000));
}

void AudioPlayerController::viewAudio(const QString& path)
{
    m_playback->stop();
    m_playlist.clear();
    showPlaylist();
    if (isPlaylistFile(path)) {
        m_playFirstAfterBuild = true;
        startBuild(Mode::AddSelection, {path});
        return;
    }
    // The song plays once the folder's audio files are in the playlist.
    m_playAfterBuild = path;
    startBuild(Mode::FromList, m_allItems ? m_allItems() : QStringList{path});
}

void AudioPlayerController::MenuPlayPauseAudioClick()
{
    if (!m_playlist.isEmpty()) {
        m_playback->playPause();
        return;
    }
    // An empty playlist plays the list's selected audio file, or builds from its .M3U.
    const QStringList selected = m_selectedItems ? m_selectedItems() : QStringList();
    const QString item = selected.value(0);
    if (FileKinds::IsAudioFile(item) || isPlaylistFile(item))
        viewAudio(item);
}

void AudioPlayerController::MenuStopAudioClick()
{
    m_playback->stop();
}

void AudioPlayerController::MenuNextAudioClick()
{
    m_playback->next();
}

void AudioPlayerController::MenuPrevAudioClick()
{
    m_playback->previous();
}

void AudioPlayerController::MenuClearPlaylistClick()
{
    m_playback->stop();
    m_playlist.clear();
    showPlaylist();
}

void AudioPlayerController::MenuSaveClickPlaylist()
{
    if (m_playlist.isEmpty())
        return;
    const QString folder = PathText::withTrailingSlash(m_context.navigator().currentFolder());
    const QString path = Pickers::instance().saveFile(QStringLiteral("Enter .M3U file name or select"), folder + QStringLiteral("NewPlaylist.M3U"),
                                                      QStringLiteral("M3U FILES *.M3U (*.M3U *.m3u)"));
    if (path.isEmpty())
        return;
    if (!M3uFile::save(path, m_playlist.entries())) {
        Prompter::instance().error(QStringLiteral("Error creating ") + path);
        return;
    }
    NotifyChange(ChangeEvent::Create, path);
}

void AudioPlayerController::PopupSendtoPlaylistClick()
{
    BuildPlaylist(Mode::AddSelection);
}

void AudioPlayerController::MenuMusicClick()
{
    const int count = m_playlist.count();
    const QString item = m_selectedItems ? m_selectedItems().value(0) : QString();
    m_playPause->setEnabled(count > 0 || FileKinds::IsAudioFile(item) || isPlaylistFile(item));
    m_stop->setEnabled(m_playPause->isEnabled());
    m_next->setEnabled(count > 1);
    m_prev->setEnabled(count > 1);
    m_save->setEnabled(count > 0);
    m_clear->setEnabled(count > 0);
}

void AudioPlayerController::ListViewAudioDblClick(int row)
{
    if (row >= 0 && row < m_playlist.count() && FileKinds::IsAudioFile(m_playlist.at(row).path))
        m_playback->playEntry(row);
}

void AudioPlayerController::ListViewAudioColumnClick(int column)
{
    m_playlist.sortBy(PlaylistColumn(column));
    m_panel->showEntries(m_playlist.entries(), m_playlist.current());
}

void AudioPlayerController::songStarted(const QString& path)
{
    TPanelAudio* p = m_panel;
    const int index = m_playlist.indexOf(path);
    p->selectRow(index);
    p->FolTrackBarAudio->setEnabled(true);
    p->FolTrackBarPlayListVolume->setEnabled(true);
    p->showPlaying(true);
    if (index < 0)
        return;
    const AudioInfo& entry = m_playlist.at(index);
    if (FileKinds::HasExtension(path, QStringLiteral(".WAV"))) {
        TWAVFile wav;
        wav.ReadFromFile(path);
        p->LabelArtistTitle->setCaption(QStringLiteral(" - "));
        p->LabelAudioData->setCaption(QStringLiteral("%1bits/samp %2Hz %3").arg(wav.BitsPerSample()).arg(wav.SampleRate()).arg(wav.ChannelMode()));
        return;
    }
    p->LabelArtistTitle->setCaption(entry.artist + QStringLiteral(" - ") + entry.title + QLatin1Char(' '));
    p->LabelAudioData->setCaption(entry.bitrate.isEmpty() ? QString() : QStringLiteral("%1kbps %2Hz %3").arg(entry.bitrate, entry.sampleRate, entry.channelMode));
}

void AudioPlayerController::songStopped()
{
    TPanelAudio* p = m_panel;
    p->FolTrackBarAudio->setValue(0);
    p->FolTrackBarAudio->setLabelText(QString());
    p->FolTrackBarAudio->setEnabled(false);
    p->LabelArtistTitle->setCaption(QString());
    p->LabelAudioData->setCaption(QString());
    p->showPlaying(false);
}

void AudioPlayerController::playFailed(const QString& path)
{
    songStopped();
    if (m_context.currentMode() != vmFileManager)
        m_context.switchMode(vmFileManager);
    Prompter::instance().error(QStringLiteral("Could not play ") + path);
}

void AudioPlayerController::showPosition(qint64 positionMs, qint64 lengthMs)
{
    TFolTrackBar* bar = m_panel->FolTrackBarAudio;
    if (bar->isSliderDown())
        return;
    bar->setMaximum(int(qMin<qint64>(lengthMs, INT_MAX)));
    bar->setValue(int(qMin<qint64>(positionMs, INT_MAX)));
    bar->setLabelText(audioTimeText(positionMs));
}
