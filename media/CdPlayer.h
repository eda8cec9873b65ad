#pragma once
// The audio CD player's logic, without widgets: the drive list, opening the device on the
// chosen drive, the one-second update of the track label, the time display and the window
// caption, track stepping (after the last track comes the first, before the first the
// last), the tray, the channels and the volume, and following a disc being inserted or
// removed. The window (TFormCD) shows what state() says and forwards its buttons here.

#include "platform/CdAudio.h"
#include "platform/CdDrives.h"

#include <QStringList>

#include <functional>
#include <memory>

struct CdPlayerState {
    QStringList drives;         // "/dev/sr0" or "/dev/sr0: no disk"
    int driveIndex = -1;
    QStringList tracks;         // "1" .. the number of tracks
    int trackIndex = -1;        // the item showing the current track
    QString tracksLabel;        // "Track:3 of 12", "not available", "disabled"
    QString timeText;           // "03:45 01:02" (length, position), empty or "disabled"
    QString minimisedCaption;   // "3 01:02"
    bool ejectEnabled = true;
    bool opened = false;
    bool trayOpen = false;
    bool timeDisplayOn = true;  // the window's one-second timer runs while this is on
    bool hasVolume = false;     // false: the window hides the volume bars and mute boxes
    int volumeLeft = 0;         // 0..65535
    int volumeRight = 0;
};

class CdPlayer {
public:
    using DriveLister = std::function<QList<CdDrive>()>;

    CdPlayer(std::unique_ptr<CdAudioDevice> device, DriveLister drives = [] { return ListCdDrives(); });
    ~CdPlayer();

    const CdPlayerState& state() const { return m_state; }

    static QString driveText(const CdDrive& drive);
    // The track after (step 1) or before (step -1) current among count tracks, wrapping.
    static int steppedTrack(int current, int count, int step);
    // "mm:ss" of a position's minutes and seconds.
    static QString clockText(const CdPosition& position);

    // Stops, fills the drive list (selecting the last drive with a disc), reads the volume
    // and opens the device. Run when the window is shown and when a disc comes or goes.
    void start();
    // The window's one-second timer.
    void tick();
    // Looks at the drives; when a disc was inserted or removed, starts again. True then.
    bool followDiscs();

    // Plays on from the current track, resumes a pause; after the end of the disc, track 1.
    void play();
    void pause();
    void stop();
    void next() { step(1); }
    void previous() { step(-1); }
    // A track chosen in the track box; items that are not a number are ignored.
    void pickTrack(const QString& item);
    void ejectOrClose();
    void setChannelMuted(CdChannel channel, bool muted);
    void setVolume(int left, int right);
    void selectDrive(int index);
    void refreshDrives();
    // Double click on the time display: turns it off (both texts read "disabled") or on.
    void toggleTimeDisplay();
    // Closing the window: the device is stopped and closed.
    void finish();

private:
    void fillDrives();
    void openDevice();
    void clearDisplay();
    void showTrack(int track);
    void step(int direction);
    void playTrack(int track);
    bool atEndOfDisc();
    QString selectedDevice() const;

    std::unique_ptr<CdAudioDevice> m_device;
    DriveLister m_lister;
    QList<CdDrive> m_seen;
    CdPlayerState m_state;
    int m_trackCount = 0;
    int m_currentTrack = 0;
};
