#pragma once
// Builds TIFF files byte by byte for the tests, in either byte order, with whatever entries
// a case needs (also wrong ones). Independent of the program's own writer.

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <vector>

class TiffBuilder {
public:
    struct Entry {
        uint16_t tag;
        uint16_t type;
        uint32_t count;
        uint32_t value; // a SHORT or LONG value held in the field, or an offset
    };

    explicit TiffBuilder(bool bigEndian = false);

    // Appends bytes (padded to an even length) and returns their offset.
    uint32_t add(const QByteArray& bytes);
    uint32_t addShorts(const std::vector<uint16_t>& values);
    uint32_t addLongs(const std::vector<uint32_t>& values);
    // Appends a directory and returns its offset; the first one added becomes the header's.
    uint32_t addDirectory(const std::vector<Entry>& entries, uint32_t next = 0);
    void setNext(uint32_t directory, uint32_t next);
    void setFirstDirectory(uint32_t offset);

    QByteArray bytes() const { return m_bytes; }

private:
    void put16(QByteArray& out, uint16_t v) const;
    void put32(QByteArray& out, uint32_t v) const;

    bool m_big;
    QByteArray m_bytes;
    bool m_hasDirectory = false;
};

// A simple uncompressed image: one strip (or strips of rowsPerStrip rows), the entries of
// a baseline file of its kind. bits holds one value per sample (1 for one-sample kinds).
struct TestImage {
    uint16_t photometric = 1;
    uint32_t width = 1;
    uint32_t height = 1;
    std::vector<uint16_t> bits{8};      // empty: no BitsPerSample entry (1 bit)
    QByteArray data;                    // rows as the file holds them
    std::vector<uint16_t> colourMap;    // 3 × n values for palette images
    uint32_t rowsPerStrip = 0;          // 0: one strip
    uint16_t compression = 1;
    uint16_t samples = 0;               // SamplesPerPixel; 0: one per bits value
};

// Adds the image's data and directory and returns the directory's offset.
uint32_t addImage(TiffBuilder& builder, const TestImage& image, uint32_t next = 0);
QByteArray tiffOf(const TestImage& image, bool bigEndian = false);
