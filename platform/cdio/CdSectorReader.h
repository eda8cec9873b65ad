#pragma once
// Reads an audio CD's samples through libcdio-paranoia, which re-reads and lines up what a
// drive returns until it is right (jitter and scratches), from a drive or a disc image
// (.cue, .bin, .toc through libcdio's image drivers). Opened and used by one thread.

#include "platform/CdDigitalPlayback.h"

#include <memory>

typedef struct _CdIo CdIo_t;
typedef struct cdrom_drive_s cdrom_drive_t;
typedef struct cdrom_paranoia_s cdrom_paranoia_t;

class CdSectorReader final : public CdSampleSource {
public:
    ~CdSectorReader() override;

    // device: "/dev/sr0" or a disc image's path. Null with error set when it cannot be read.
    static std::unique_ptr<CdSectorReader> open(const QByteArray& device, QString* error);

    bool read(int lsn, int count, QByteArray* pcm) override;
    QString errorString() const override { return m_error; }

private:
    CdSectorReader() = default;

    CdIo_t* m_cdio = nullptr;
    cdrom_drive_t* m_drive = nullptr;
    cdrom_paranoia_t* m_paranoia = nullptr;
    int m_nextLsn = -1; // where paranoia's read head is
    QString m_error;
};
