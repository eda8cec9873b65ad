#pragma once
// A stored value of a component's settings: its name in the settings tree and the member
// of the component's own values struct it maps to. Booleans are stored as DWORD 0/1,
// integers as DWORD, strings as strings. A component keeps a table of these for its group
// of values, in the order they are stored; the main window's settings store reads and
// writes the registered tables.

#include <QString>

#include <variant>

template <typename Values>
struct SettingFieldOf {
    using Member = std::variant<bool Values::*, int Values::*, QString Values::*>;
    const char* name;
    Member member;
};
