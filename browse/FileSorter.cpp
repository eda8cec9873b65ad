#include "browse/FileSorter.h"

#include "browse/FileAttributes.h"

#include <QCollator>
#include <QHash>

#include <algorithm>
#include <limits>
#include <cstring>
#include <numeric>

namespace FileSorter {
namespace {

int group(const TFileInfo& item)
{
    switch (item.kind) {
    case ItemKind::Parent: return 0;
    case ItemKind::File: return 1;
    default: return 2;
    }
}

// Code-point order ignoring case, with a quick path for ASCII (most names).
int compareIgnoringCase(QStringView a, QStringView b)
{
    const qsizetype length = std::min(a.size(), b.size());
    qsizetype i = 0;
    // Skip the common prefix four characters at a time (names in big folders share long
    // prefixes such as "IMG_20240301_").
    while (i + 4 <= length) {
        uint64_t x, y;
        std::memcpy(&x, a.utf16() + i, sizeof x);
        std::memcpy(&y, b.utf16() + i, sizeof y);
        if (x != y)
            break;
        i += 4;
    }
    for (; i < length; ++i) {
        char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x == y)
            continue;
        if (x < 128 && y < 128) {
            x = (x >= 'A' && x <= 'Z') ? x + 32 : x;
            y = (y >= 'A' && y <= 'Z') ? y + 32 : y;
            if (x != y)
                return x < y ? -1 : 1;
            continue;
        }
        const int c = a.mid(i).compare(b.mid(i), Qt::CaseInsensitive);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

template <typename T>
int compareValues(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// How two texts of the sort column compare: by collation keys made once per record (names)
// or once per distinct text (types, attribute letters), so that sorting compares keys
// instead of running the locale's comparison on every pair. In the C locale the order is
// that of the code points, which needs no keys.
template <typename Items>
class TextOrder {
public:
    TextOrder(const Items& items, uint32_t count, int column)
        : m_items(items)
        , m_column(column)
        , m_collator(QLocale())
    {
        m_byCodePoint = QLocale().language() == QLocale::C;
        if (m_byCodePoint || (column != NameColumn && column != TypeColumn && column != AttrColumn))
            return;
        // Case folding first makes the keys ignore case whatever the collator does.
        m_collator.setCaseSensitivity(Qt::CaseInsensitive);
        m_keys.reserve(count);
        QHash<QString, QCollatorSortKey> cache;
        for (uint32_t i = 0; i < count; ++i) {
            if (column == NameColumn) {
                m_keys.push_back(m_collator.sortKey(items[i].Name.toString().toCaseFolded()));
                continue;
            }
            const QString text = textOf(items[i]);
            auto it = cache.find(text);
            if (it == cache.end())
                it = cache.insert(text, m_collator.sortKey(text.toCaseFolded()));
            m_keys.push_back(*it);
        }
    }

    bool byCodePoint() const { return m_byCodePoint; }

    int compare(uint32_t a, uint32_t b) const
    {
        if (!m_byCodePoint)
            return m_keys[a].compare(m_keys[b]);
        if (m_column == NameColumn)
            return compareIgnoringCase(m_items[a].Name, m_items[b].Name);
        return compareIgnoringCase(textOf(m_items[a]), textOf(m_items[b]));
    }

private:
    QString textOf(const TFileInfo& item) const
    {
        if (m_column == TypeColumn)
            return item.TypeName;
        if (m_column == AttrColumn)
            return FileAttributes::letters(item.Attributes);
        return item.Name.toString();
    }

    const Items& m_items;
    int m_column;
    QCollator m_collator;
    bool m_byCodePoint = false;
    std::vector<QCollatorSortKey> m_keys;
};

// What the comparisons need of one record, packed into 16 bytes: sorting a million records
// then walks one compact array instead of chasing each record through memory. Text columns
// keep the name's characters at hand (the name decides ties); size and date columns keep
// the value, with the nanoseconds of a time beside the group.
struct TextEntry {
    const char16_t* name;
    uint32_t index;
    uint16_t group;
    uint16_t length; // RowName keeps at most 65535 characters
    QStringView nameView() const { return QStringView(name, length); }
};
static_assert(sizeof(TextEntry) == 16);

struct ValueEntry {
    int64_t value;    // size, or the time's seconds (no time sorts first)
    uint32_t index;
    uint32_t rank;    // group << 30 | nanoseconds of the time
    uint32_t group() const { return rank >> 30; }
};
static_assert(sizeof(ValueEntry) == 16);

TextEntry textEntry(const TFileInfo& item, uint32_t index)
{
    const QStringView name = item.Name.view();
    return TextEntry{name.utf16(), index, uint16_t(group(item)), uint16_t(name.size())};
}

ValueEntry valueEntry(const TFileInfo& item, uint32_t index, int column)
{
    ValueEntry entry{0, index, uint32_t(group(item)) << 30};
    if (column == SizeColumn) {
        entry.value = item.Size;
    } else if (item.hasTime) {
        entry.value = item.mtimeSeconds;
        entry.rank |= std::min<uint32_t>(item.mtimeNanoseconds, (1u << 30) - 1);
    } else {
        entry.value = std::numeric_limits<int64_t>::min();
    }
    return entry;
}

// Sorts the entries with `before` (which sees equal keys as equal; the name breaks ties),
// fully or only the first `top`, and writes their indexes back into `order`.
template <typename Entry, typename Before>
void sortEntries(std::vector<Entry>& entries, std::vector<uint32_t>& order, size_t top, Before before)
{
    if (top < entries.size()) {
        std::nth_element(entries.begin(), entries.begin() + qsizetype(top), entries.end(), before);
        std::sort(entries.begin(), entries.begin() + qsizetype(top), before);
    } else {
        std::sort(entries.begin(), entries.end(), before);
    }
    for (size_t i = 0; i < entries.size(); ++i)
        order[i] = entries[i].index;
}

template <typename Items>
void sortOrder(const Items& items, uint32_t count, std::vector<uint32_t>& order, int column, bool ascending,
               size_t top = std::numeric_limits<size_t>::max())
{
    const auto directed = [ascending](int c) { return ascending ? c < 0 : c > 0; };
    if (column == SizeColumn || column == DateColumn) {
        std::vector<ValueEntry> entries;
        entries.reserve(order.size());
        for (uint32_t index : order)
            entries.push_back(valueEntry(items[index], index, column));
        sortEntries(entries, order, top, [&](const ValueEntry& a, const ValueEntry& b) {
            if (a.group() != b.group())
                return a.group() < b.group();
            int c = a.value != b.value ? compareValues(a.value, b.value) : compareValues(a.rank, b.rank);
            if (c == 0)
                c = items[a.index].Name.view().compare(items[b.index].Name.view());
            return directed(c);
        });
        return;
    }
    const TextOrder<Items> text(items, count, column);
    const bool byName = column == NameColumn && text.byCodePoint();
    std::vector<TextEntry> entries;
    entries.reserve(order.size());
    for (uint32_t index : order)
        entries.push_back(textEntry(items[index], index));
    sortEntries(entries, order, top, [&](const TextEntry& a, const TextEntry& b) {
        if (a.group != b.group)
            return a.group < b.group;
        int c = byName ? compareIgnoringCase(a.nameView(), b.nameView()) : text.compare(a.index, b.index);
        if (c == 0)
            c = a.nameView().compare(b.nameView());
        return directed(c);
    });
}

} // namespace

void sort(const FileTable& items, std::vector<uint32_t>& order, int column, bool ascending, size_t top)
{
    sortOrder(items, items.size(), order, column, ascending, top);
}

void sort(std::vector<TFileInfo>& items, int column, bool ascending)
{
    std::vector<uint32_t> order(items.size());
    std::iota(order.begin(), order.end(), uint32_t(0));
    sortOrder(items, uint32_t(items.size()), order, column, ascending);
    std::vector<TFileInfo> sorted;
    sorted.reserve(items.size());
    for (uint32_t index : order)
        sorted.push_back(std::move(items[index]));
    items = std::move(sorted);
}

} // namespace FileSorter
