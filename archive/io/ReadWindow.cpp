#include "io/ReadWindow.h"

#include <algorithm>
#include <cstring>

namespace zipio {

bool ReadWindow::readAt(uint64_t offset, void* buffer, size_t n) const
{
    if (!rangeInside(offset, n, size()))
        return false;
    if (n > kSize / 2)
        return m_device.readAt(offset, buffer, n);
    if (offset < m_start || offset + n > m_start + m_bytes.size()) {
        m_bytes.resize(size_t(std::min<uint64_t>(kSize, size() - offset)));
        if (!m_device.readAt(offset, m_bytes.data(), m_bytes.size())) {
            m_bytes.clear();
            return false;
        }
        m_start = offset;
    }
    if (n > 0)
        std::memcpy(buffer, m_bytes.data() + (offset - m_start), n);
    return true;
}

} // namespace zipio
