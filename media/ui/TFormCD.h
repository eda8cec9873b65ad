#pragma once
// The CD player window "FolVane CD Player": modeless, on top of other windows, freed when
// closed. It shows what its CdPlayer says and forwards every button to it; the player runs
// on its own thread (CdPlayerThread), so a slow drive never holds the window. A one-second
// timer updates the display and a watcher follows discs coming and going.

#include "media/CdPlayerThread.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QTimer;

class TFormCD : public QWidget {
    Q_OBJECT
public:
    explicit TFormCD(std::unique_ptr<CdAudioDevice> device, CdPlayer::DriveLister drives = [] { return ListCdDrives(); },
                     QWidget* parent = nullptr);
    ~TFormCD() override;

    void TimerCD();
    // A command is still on its way through the player's thread.
    bool isBusy() const { return m_player.pending() > 0; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void connectControls();
    void FormShow();
    void Panel2DblClick();
    void run(void (CdPlayer::*command)());
    void showState(const CdPlayerState& state);

    CdPlayerThread m_player;
    CdPlayerState m_state; // the last state the player's thread sent
    QLabel* m_panel2 = nullptr;
    QLabel* m_labelTracks = nullptr;
    QPushButton* m_play = nullptr;
    QPushButton* m_pause = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_eject = nullptr;
    QComboBox* m_tracks = nullptr;
    QComboBox* m_drives = nullptr;
    QPushButton* m_refreshDrives = nullptr;
    QSlider* m_volLeft = nullptr;
    QSlider* m_volRight = nullptr;
    QCheckBox* m_muteLeft = nullptr;
    QCheckBox* m_muteRight = nullptr;
    QTimer* m_timer = nullptr;
    QTimer* m_discWatch = nullptr;
    bool m_shown = false;
    bool m_sized = false;
    bool m_showing = false; // the controls are being filled: their change signals are not the user's
};
