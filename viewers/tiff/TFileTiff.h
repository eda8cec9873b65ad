#pragma once
// One TIFF file: its header and the chain of image file directories, parsed when the file
// name is set. The file stays open so that the decoder can read strips from it; every read
// goes through readAt(), which refuses ranges outside the file.

#include "viewers/ViewerStatus.h"
#include "viewers/tiff/TiffFormat.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <memory>
#include <vector>

class TGraphicTiff;

class TFileTiff {
public:
    // Directories beyond this many are not read; a file whose chain goes on has more
    // directories than the program handles (see hasTooManyDirectories()).
    static constexpr int MaxDirectories = 256;

    TFileTiff();
    ~TFileTiff();
    TFileTiff(const TFileTiff&) = delete;
    TFileTiff& operator=(const TFileTiff&) = delete;

    QString FileName() const { return m_fileName; }
    // Parses the named file. The same name again does nothing; an empty name clears.
    void setFileName(const QString& fileName);
    // Parses bytes held in memory, shown to the user under the given name.
    void setData(const QByteArray& bytes, const QString& name);

    quint64 fileSize() const { return m_size; }
    bool isLittleEndian() const { return m_order == tiff::ByteOrder::Little; }
    tiff::ByteOrder byteOrder() const { return m_order; }
    // True once the header has been read and found to be a TIFF header.
    bool isValid() const { return m_valid; }
    // Success unless the named file could not be opened; then it says why.
    ViewerStatus openStatus() const { return m_openStatus; }
    bool hasTooManyDirectories() const { return m_tooManyDirectories; }

    int directoryCount() const { return int(m_directories.size()); }
    // The directory at index (0 to MaxDirectories - 1), or nullptr outside the list.
    const TGraphicTiff* directory(int index) const;

    // Reads length bytes at offset into out; false, with nothing read, when the range does
    // not lie wholly inside the file or the read fails.
    bool readAt(quint64 offset, quint64 length, char* out) const;
    bool readAt(quint64 offset, quint64 length, QByteArray& out) const;

private:
    void clear();
    void parse(std::unique_ptr<QIODevice> device);
    void readDirectories(uint32_t firstOffset);

    QString m_fileName;
    std::unique_ptr<QIODevice> m_device;
    quint64 m_size = 0;
    tiff::ByteOrder m_order = tiff::ByteOrder::Little;
    bool m_valid = false;
    bool m_tooManyDirectories = false;
    ViewerStatus m_openStatus;
    std::vector<std::unique_ptr<TGraphicTiff>> m_directories;
};
