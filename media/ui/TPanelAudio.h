#pragma once
// The playlist panel under the folder tree (PanelAudio): the two scrolling song labels, the
// position bar, the tool bar (play/pause, stop, previous, next, clear, save, continuous play,
// shuffle, volume with its count label) and the playlist ListViewAudio. Only the controls;
// AudioPlayerController gives them their behaviour.

#include "media/AudioInfo.h"

#include <QList>
#include <QWidget>

class QLabel;
class QToolButton;
class QTreeWidget;
class TFolTrackBar;
class TRunningText;

class TPanelAudio : public QWidget {
    Q_OBJECT
public:
    explicit TPanelAudio(QWidget* parent = nullptr);

    TRunningText* LabelArtistTitle = nullptr;
    TRunningText* LabelAudioData = nullptr;
    TFolTrackBar* FolTrackBarAudio = nullptr;
    TFolTrackBar* FolTrackBarPlayListVolume = nullptr;
    QLabel* LabelAudioFileCount = nullptr;
    QToolButton* ButtonPlaylistPlayPause = nullptr;
    QToolButton* ButtonPlaylistStop = nullptr;
    QToolButton* ButtonPlayListPrev = nullptr;
    QToolButton* ButtonPLaylistNext = nullptr;
    QToolButton* ButtonPlaylistClear = nullptr;
    QToolButton* lButtonPlayListSave = nullptr;
    QToolButton* ButtonContinuous = nullptr;
    QToolButton* ButtonShuffle = nullptr;
    QTreeWidget* ListViewAudio = nullptr;

    // Shows the entries as rows (the title caption and ten sub-items); selects current.
    void showEntries(const QList<media::AudioInfo>& entries, int current);
    void selectRow(int row);
    // The play or the pause picture on Play/Pause.
    void showPlaying(bool playing);

private:
    QToolButton* addButton(QWidget* bar, const char* name, const QString& hint, int icon);
};
