#pragma once
// The name of one file list row: its UTF-16 text behind a 16-bit length, 8 bytes in the
// record, where a QString costs 24 bytes plus a 16-byte header on the heap. A folder of a
// million entries keeps a million of these. Read it as a QStringView (no copy) or make a
// QString where one is needed.
//
// A name owns its allocation until a table lodges it in the table's NameArena; from then
// on the arena holds the text and the name only points there. A lodged name is never
// handed on by a move: copies and moves out of the table own their text, so none of them
// can outlive the arena.

#include "browse/NameArena.h"

#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstdint>
#include <utility>

class RowName {
public:
    RowName() = default;
    RowName(QStringView text) { assign(text); }
    RowName(const QString& text) { assign(text); }
    RowName(const RowName& other) { assign(other.view()); }
    RowName(RowName&& other) noexcept { take(other); }
    ~RowName() { release(); }

    RowName& operator=(const RowName& other)
    {
        if (this != &other)
            assign(other.view());
        return *this;
    }
    RowName& operator=(RowName&& other) noexcept
    {
        if (this != &other) {
            release();
            take(other);
        }
        return *this;
    }

    QStringView view() const
    {
        const char16_t* block = this->block();
        return block ? QStringView(block + 1, qsizetype(block[0])) : QStringView();
    }
    operator QStringView() const { return view(); }
    QString toString() const { return view().toString(); }
    qsizetype size() const { return view().size(); }
    bool isEmpty() const { return size() == 0; }

    // Moves the text into the arena (see above).
    void lodgeIn(NameArena& arena)
    {
        char16_t* block = this->block();
        if (!block || lodged())
            return;
        const size_t count = size_t(block[0]) + 1;
        char16_t* room = arena.allocate(count);
        std::copy_n(block, count, room);
        delete[] block;
        m_bits = reinterpret_cast<uintptr_t>(room) | lodgedBit;
    }

private:
    // Both kinds of block hold char16_t, so their addresses are even: the low bit is free
    // to mark a lodged one.
    static constexpr uintptr_t lodgedBit = 1;

    char16_t* block() const { return reinterpret_cast<char16_t*>(m_bits & ~lodgedBit); }
    bool lodged() const { return m_bits & lodgedBit; }

    void release()
    {
        if (!lodged())
            delete[] block();
        m_bits = 0;
    }

    // Steals an owned text; copies a lodged one.
    void take(RowName& other)
    {
        if (other.lodged())
            assign(other.view());
        else
            m_bits = std::exchange(other.m_bits, 0);
    }

    // Names are at most 255 bytes on Linux; longer texts (never seen) are cut at 65535.
    void assign(QStringView text)
    {
        release();
        const size_t length = size_t(std::min<qsizetype>(text.size(), 0xFFFF));
        if (length == 0)
            return;
        char16_t* block = new char16_t[length + 1];
        block[0] = char16_t(length);
        std::copy_n(text.utf16(), length, block + 1);
        m_bits = reinterpret_cast<uintptr_t>(block);
    }

    uintptr_t m_bits = 0; // the block [length, text...], with lodgedBit
};
static_assert(sizeof(RowName) == sizeof(void*));
