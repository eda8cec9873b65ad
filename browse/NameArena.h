#pragma once
// Storage for the names of a table of rows: their texts one after another in blocks of
// 64K characters, each behind its 16-bit length, freed all at once with the table. A name
// costs its characters and two bytes, without the header and rounding of an allocation of
// its own. Blocks never move, so the names stay put while the table grows.

#include <cstddef>
#include <memory>
#include <vector>

class NameArena {
public:
    // Room for `count` characters, valid until clear().
    char16_t* allocate(size_t count)
    {
        if (count > blockSize)
            return m_large.emplace_back(std::make_unique<char16_t[]>(count)).get();
        if (m_used + count > blockSize) {
            m_blocks.push_back(std::make_unique<char16_t[]>(blockSize));
            m_used = 0;
        }
        char16_t* room = m_blocks.back().get() + m_used;
        m_used += count;
        return room;
    }

    void clear()
    {
        m_blocks.clear();
        m_blocks.shrink_to_fit();
        m_large.clear();
        m_large.shrink_to_fit();
        m_used = blockSize;
    }

private:
    static constexpr size_t blockSize = 65536;
    std::vector<std::unique_ptr<char16_t[]>> m_blocks;
    std::vector<std::unique_ptr<char16_t[]>> m_large;
    size_t m_used = blockSize;
};
