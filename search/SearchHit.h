#pragma once
// One file found by the search: its folder and name as bytes, its size and last-write time.

#include <QByteArray>

#include <cstdint>

struct SearchHit {
    QByteArray folder; // with a trailing "/"
    QByteArray name;
    std::int64_t size = 0;
    std::int64_t modified = 0; // seconds since 1970, UTC

    QByteArray path() const { return QByteArray(folder).append(name); }
};
