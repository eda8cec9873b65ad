#include "codec/ZipCrypto.h"

#include <sys/random.h>

namespace zipcodec {

namespace {

uint32_t crcByte(uint32_t crc, uint8_t b)
{
    // One step of the reflected CRC-32 (the cipher runs it on the raw register).
    crc ^= b;
    for (int k = 0; k < 8; ++k)
        crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    return crc;
}

// The byte-step table, built once.
struct CrcTable {
    uint32_t t[256];
    CrcTable()
    {
        for (uint32_t i = 0; i < 256; ++i)
            t[i] = crcByte(i, 0);
    }
};

const CrcTable& table()
{
    static const CrcTable instance;
    return instance;
}

inline uint32_t crcStep(uint32_t crc, uint8_t b) { return table().t[(crc ^ b) & 0xFF] ^ (crc >> 8); }

} // namespace

ZipCrypto::ZipCrypto(const std::string& password) : m_keys{0x12345678u, 0x23456789u, 0x34567890u}
{
    for (unsigned char c : password)
        update(c);
}

uint8_t ZipCrypto::streamByte() const
{
    const uint16_t temp = uint16_t(m_keys[2] | 2);
    return uint8_t((uint32_t(temp) * (temp ^ 1)) >> 8);
}

void ZipCrypto::update(uint8_t plain)
{
    m_keys[0] = crcStep(m_keys[0], plain);
    m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813u + 1;
    m_keys[2] = crcStep(m_keys[2], uint8_t(m_keys[1] >> 24));
}

void ZipCrypto::encrypt(uint8_t* data, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        const uint8_t plain = data[i];
        data[i] = plain ^ streamByte();
        update(plain);
    }
}

void ZipCrypto::decrypt(uint8_t* data, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        data[i] ^= streamByte();
        update(data[i]);
    }
}

std::string ZipCrypto::makeHeader(uint8_t checkByte)
{
    std::string header(kHeaderSize, '\0');
    auto* bytes = reinterpret_cast<uint8_t*>(header.data());
    size_t filled = 0;
    while (filled < kHeaderSize - 1) {
        const ssize_t got = getrandom(bytes + filled, kHeaderSize - 1 - filled, 0);
        if (got > 0)
            filled += size_t(got);
    }
    bytes[kHeaderSize - 1] = checkByte;
    encrypt(bytes, kHeaderSize);
    return header;
}

bool ZipCrypto::acceptHeader(const uint8_t* header, uint8_t checkByte)
{
    uint8_t copy[kHeaderSize];
    for (size_t i = 0; i < kHeaderSize; ++i)
        copy[i] = header[i];
    decrypt(copy, kHeaderSize);
    return copy[kHeaderSize - 1] == checkByte;
}

} // namespace zipcodec
