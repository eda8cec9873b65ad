#pragma once
// A device read through one window of read-ahead: small reads that follow each other (the
// local header of an entry, then its data, then the next entry's header) are served from
// the window, so extracting many small entries in archive order takes one system call per
// window instead of two per entry. Big reads go straight to the device. Not for use from
// several threads at once (reads move the window).

#include "io/ReadDevice.h"

#include <vector>

namespace zipio {

class ReadWindow : public ReadDevice {
public:
    static constexpr size_t kSize = 128 * 1024;
    explicit ReadWindow(const ReadDevice& device) : m_device(device) {}
    uint64_t size() const override { return m_device.size(); }
    bool readAt(uint64_t offset, void* buffer, size_t n) const override;

private:
    const ReadDevice& m_device;
    mutable std::vector<uint8_t> m_bytes;
    mutable uint64_t m_start = 0;
};

} // namespace zipio
