#pragma once
// Storage of the file list's records in fixed chunks of 4096: growing never copies the
// records already read (a plain vector would briefly hold a folder's table twice while it
// doubles), and sorting moves 32-bit indexes, not records. The records' names live in the
// table's NameArena.

#include "browse/TFileInfo.h"

#include <cstdint>
#include <memory>
#include <vector>

class FileTable {
public:
    static constexpr uint32_t chunkBits = 12;
    static constexpr uint32_t chunkSize = 1u << chunkBits;

    uint32_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

    void push_back(TFileInfo&& item)
    {
        if ((m_size & (chunkSize - 1)) == 0)
            m_chunks.push_back(std::make_unique<TFileInfo[]>(chunkSize));
        TFileInfo& slot = m_chunks.back()[m_size & (chunkSize - 1)];
        slot = std::move(item);
        slot.Name.lodgeIn(m_names);
        ++m_size;
    }

    TFileInfo& operator[](uint32_t index) { return m_chunks[index >> chunkBits][index & (chunkSize - 1)]; }
    const TFileInfo& operator[](uint32_t index) const { return m_chunks[index >> chunkBits][index & (chunkSize - 1)]; }

    void clear()
    {
        m_chunks.clear();
        m_chunks.shrink_to_fit();
        m_names.clear();
        m_size = 0;
    }

private:
    NameArena m_names; // before m_chunks, so that it outlives the records pointing into it
    std::vector<std::unique_ptr<TFileInfo[]>> m_chunks;
    uint32_t m_size = 0;
};
