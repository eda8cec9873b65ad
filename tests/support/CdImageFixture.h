#pragma once
// A two-track audio CD as a BIN/CUE image made with sox, read through libcdio's image driver
// as a drive would be: track 1 a 440 Hz tone for 3 s, track 2 300 Hz on the left and 700 Hz
// on the right for 2.4 s (whole sectors: 225 and 180 of 1/75 s). Skips the test when sox or
// cd-info is not installed.

#include "support/TempHome.h"
#include "support/RecordingCdSink.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

class CdAudioDevice;

class CdImageFixture : public TempHomeTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Plays from track until the end of the disc and gives what the sink heard.
    QByteArray playToTheEnd(CdAudioDevice& device, int track, const std::shared_ptr<RecordingCdSink::Tape>& tape);

    QString m_cue;
    QList<QByteArray> m_tracks; // each track's samples as sox made them
};
