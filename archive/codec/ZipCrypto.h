#pragma once
// The traditional PKWARE stream cipher: three 32-bit keys driven by the password and then by
// every plain byte. An encrypted entry starts with a 12-byte header whose last byte checks
// the password (the CRC's high byte, or the time's high byte when sizes follow the data).

#include <cstddef>
#include <cstdint>
#include <string>

namespace zipcodec {

class ZipCrypto {
public:
    static constexpr size_t kHeaderSize = 12;

    explicit ZipCrypto(const std::string& password);
    void encrypt(uint8_t* data, size_t n);
    void decrypt(uint8_t* data, size_t n);

    // A fresh header for writing: 11 random bytes and the check byte, encrypted in place.
    std::string makeHeader(uint8_t checkByte);
    // Decrypts a read header and tells whether its check byte matches.
    bool acceptHeader(const uint8_t* header, uint8_t checkByte);

private:
    uint8_t streamByte() const;
    void update(uint8_t plain);

    uint32_t m_keys[3];
};

} // namespace zipcodec
