#pragma once
// The zip repair component. It ignores the damaged archive's own central directory, scans
// the raw bytes once from front to back for local file headers (memchr for the signature's
// first byte, then the other three), checks each candidate entry for plausibility, and
// copies the entries that passed to the new archive as they are found, so the input behind
// the scan is never looked at again (InputDone lets a mapped input drop those pages). Entries
// that follow each other in the input are copied as one range, and where the input is also
// given as a file and the output is a file, the kernel copies them (zipio::RangeCopier): the
// scan reads the headers only. A fresh central directory and end record close the new
// archive. Every candidate is reported through OnFileFound, accepted or not.
//
// Sizes and offsets are 64-bit throughout: inputs over 4 GiB and entries with Zip64 sizes
// are handled, and the new archive gets Zip64 records where a value does not fit 32 bits.

#include <QIODevice>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>

namespace zipio {
class RangeCopier;
}

class TFolZipFix {
public:
    // One reclaimed entry: the fields of a central directory record, then the name.
    struct TFileInfo {
        uint16_t versionMadeBy = 0;
        uint16_t versionNeeded = 0;
        uint16_t flags = 0;
        uint16_t method = 0;
        uint16_t time = 0;
        uint16_t date = 0;
        uint32_t crc = 0;
        uint64_t compressedSize = 0;
        uint64_t uncompressedSize = 0;
        uint16_t nameLength = 0;
        uint16_t extraLength = 0;
        uint16_t commentLength = 0;
        uint16_t diskNumberStart = 0;
        uint16_t internalAttributes = 0;
        uint32_t externalAttributes = 0;
        uint64_t localHeaderOffset = 0;
        std::string name;
        // The bytes copied to the new archive: local header, name, extra field, data and,
        // for a streamed entry (flag bit 3), its data descriptor. The descriptor stays, as
        // the local header of such an entry holds no CRC or sizes.
        uint64_t storedSize = 0;
    };

    using TOnFileFoundEvent = std::function<void(TFolZipFix* sender, const QString& filename, bool fileInfoIsOK)>;
    TOnFileFoundEvent OnFileFound;
    // Asked after every candidate and every few megabytes of a long search (may be empty):
    // true stops the repair, which then returns false with wasAborted() set and writes nothing more.
    std::function<bool()> ShouldAbort;
    // Told (may be empty) that the input before the offset will not be read again: a mapped
    // input drops those pages, so resident memory stays bounded whatever the input's size.
    std::function<void(uint64_t offset)> InputDone;

    // Scans input (the whole damaged archive) and writes the new archive to output at its
    // current position. inputFile, when not -1, is an open file holding the same bytes (the
    // one input maps). False with errorString() when input or output is missing (the
    // program's own text "No input or no output stream has been defined") or the output
    // cannot be written ("zip repair: cannot write ...").
    bool ReclaimZip(const uint8_t* input, uint64_t inputSize, QIODevice* output, int inputFile = -1);
    QString errorString() const { return m_error; }
    bool wasAborted() const { return m_aborted; }

private:
    bool aborted();

    bool ScanLocalHeaders();
    bool WriteDirectory();
    bool scanCandidate(uint64_t h, uint64_t& end);
    // Adds the entry to the range waiting to be copied and its central directory record.
    bool writeEntry(const TFileInfo& info);
    // Copies the waiting range to the output.
    bool flushRange();
    // Takes the sizes from the local Zip64 extra field when the 32-bit fields are full.
    // True when the entry is Zip64 (full fields or the field present): its descriptor then
    // carries 64-bit sizes (PKWARE APPNOTE 4.3.9.2).
    bool readZip64Sizes(uint64_t extraStart, uint16_t extraLength, TFileInfo& info);
    bool readDescriptor(uint64_t dataStart, bool zip64, TFileInfo& info, uint64_t& end);
    // The first signature at from or after and before until, with minimumTail bytes from
    // there to the end of the input; -1 when there is none.
    int64_t search(const uint8_t* signature, uint64_t from, uint64_t minimumTail, uint64_t until = UINT64_MAX) const;
    // The next local header at from or after in found (-1: none); false when cancelled.
    bool findLocalHeader(uint64_t from, int64_t& found);
    // Tells InputDone that the input before offset will not be read again.
    void doneBefore(uint64_t offset);
    void reject(const std::string& name);
    bool writeFailed();

    const uint8_t* m_input = nullptr;
    uint64_t m_inputSize = 0;
    zipio::RangeCopier* m_copier = nullptr; // while ReclaimZip runs
    // The accepted entries not yet copied: input bytes [m_rangeStart, m_rangeEnd).
    uint64_t m_rangeStart = 0;
    uint64_t m_rangeEnd = 0;
    // The central directory so far, and the number of its records.
    std::string m_central;
    uint64_t m_written = 0;
    // Reused for every candidate, so that a candidate costs no allocation.
    TFileInfo m_info;
    std::string m_extra;
    bool m_aborted = false;
    QString m_error;
};

// The per-entry report of a repair and its summary, as the program shows them.
class ZipFixReport {
public:
    // Counts the call and returns the line: "reclaimed ok: \t" or "corrupted bad: \t",
    // followed by the name or "??filename??".
    QString fileFound(const QString& name, bool ok);
    // "reclaimed %d out of %d files."
    QString summary() const;
    void reset() { m_found = m_reclaimed = 0; }
    int found() const { return m_found; }
    int reclaimed() const { return m_reclaimed; }

private:
    int m_found = 0;
    int m_reclaimed = 0;
};
