#pragma once
// The counters of the file ripper: each replaces a stretch of an example address by a
// number (zero-padded decimal) or by one character (its code), and the walk goes through
// every combination as nested loops, counter 01 outermost and counter 10 innermost.

#include <QString>

#include <array>
#include <optional>

struct RipCounter {
    int index = 0; // 1-based position in the address; 0 or less leaves the address alone
    int width = 0; // characters replaced
    int min = 0;
    int max = 0;
    bool alpha = false; // the value is a character code, inserted as that one character

    static constexpr int kCount = 10;

    // The text of one counter's fields, as the dialog and the command line give them.
    struct Fields {
        QString index, width, min, max;
        bool alpha = false;
    };
    // The counter, or nullopt with *error naming the counter and the field that is not a
    // number, or not one the counter can use ("Counter 03 width: \"x\" is not a number").
    // place is the counter's 1-based place. An empty field reads as 0.
    static std::optional<RipCounter> parse(const Fields& fields, int place, QString* error);

    // Whether the counter takes no value at all (max below min), which empties the walk.
    bool isEmpty() const { return max < min; }
    // The text a value puts in the address: the character of that code, or the decimal
    // value padded with leading zeros to width (never cut when longer).
    QString textOf(int value) const;
    // Replaces width characters at index by textOf(value); an index or width past the end
    // of the address is clamped to it. A switched-off counter changes nothing.
    void apply(QString& address, int value) const;
};

using RipCounters = std::array<RipCounter, RipCounter::kCount>;

// The addresses of a rip, one at a time: the state of the nested loops, advanced by next().
class RipAddressWalk {
public:
    RipAddressWalk(const QString& example, const RipCounters& counters);
    // The next address, or nullopt when every combination is done.
    std::optional<QString> next();

private:
    bool advance();

    QString m_address;
    RipCounters m_counters;
    std::array<int, RipCounter::kCount> m_values{};
    bool m_started = false;
    bool m_done = false;
};
