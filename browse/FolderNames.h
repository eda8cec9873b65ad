#pragma once
// A folder's names as the directory gave them, kept as bytes (a Linux name need not be
// UTF-8) with the type readdir reported, so that a details pass can stat them later without
// reading the folder again.

#include <cstddef>
#include <cstring>
#include <vector>

class FolderNames {
public:
    size_t size() const { return m_offsets.size(); }
    bool empty() const { return m_offsets.empty(); }
    // NUL-terminated; valid until the next append or clear.
    const char* name(size_t i) const { return m_bytes.data() + m_offsets[i]; }
    size_t nameLength(size_t i) const
    {
        const size_t end = i + 1 < m_offsets.size() ? m_offsets[i + 1] : m_bytes.size();
        return end - m_offsets[i] - 1; // without the NUL
    }
    // DT_DIR, DT_REG, DT_LNK, DT_UNKNOWN, ... as readdir gave it.
    unsigned char type(size_t i) const { return m_types[i]; }

    void append(const char* name, size_t length, unsigned char type)
    {
        m_offsets.push_back(m_bytes.size());
        m_types.push_back(type);
        m_bytes.insert(m_bytes.end(), name, name + length + 1);
    }

    void clear()
    {
        m_bytes.clear();
        m_offsets.clear();
        m_types.clear();
    }

private:
    std::vector<char> m_bytes;
    std::vector<size_t> m_offsets; // the length of a name follows from the next offset
    std::vector<unsigned char> m_types;
};
