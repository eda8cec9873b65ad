#include "internet/RipCounter.h"

#include <QChar>

#include <algorithm>

namespace {

// The largest character code a letter counter may insert (one UTF-16 unit that is not a
// surrogate half, so the address stays valid text).
constexpr int kMaxCharCode = 0xFFFF;

std::optional<int> parseNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 0;
    bool ok = false;
    const int value = trimmed.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

std::optional<RipCounter> RipCounter::parse(const Fields& fields, int place, QString* error)
{
    const QString name = QStringLiteral("Counter %1 ").arg(place, 2, 10, QLatin1Char('0'));
    struct Field {
        const char* label;
        const QString& text;
        int RipCounter::*member;
    };
    const Field table[] = {{"index", fields.index, &RipCounter::index},
                           {"width", fields.width, &RipCounter::width},
                           {"min", fields.min, &RipCounter::min},
                           {"max", fields.max, &RipCounter::max}};
    RipCounter counter;
    counter.alpha = fields.alpha;
    for (const Field& field : table) {
        const std::optional<int> value = parseNumber(field.text);
        const QString label = name + QLatin1String(field.label);
        if (!value) {
            *error = label + QStringLiteral(": \"") + field.text + QStringLiteral("\" is not a number");
            return std::nullopt;
        }
        if (*value < 0 && field.member != &RipCounter::index) {
            *error = label + QStringLiteral(": ") + field.text.trimmed() + QStringLiteral(" is below 0");
            return std::nullopt;
        }
        counter.*(field.member) = *value;
    }
    if (counter.alpha && counter.index > 0 && !counter.isEmpty() && (counter.min < 1 || counter.max > kMaxCharCode)) {
        *error = name + QStringLiteral("alpha: character codes run from 1 to %1").arg(kMaxCharCode);
        return std::nullopt;
    }
    return counter;
}

QString RipCounter::textOf(int value) const
{
    if (alpha)
        return QString(QChar(char16_t(value)));
    return QString::number(value).rightJustified(width, QLatin1Char('0'));
}

void RipCounter::apply(QString& address, int value) const
{
    if (index <= 0)
        return;
    const qsizetype at = std::min<qsizetype>(index - 1, address.size());
    address.remove(at, std::max(0, width));
    address.insert(at, textOf(value));
}

RipAddressWalk::RipAddressWalk(const QString& example, const RipCounters& counters)
    : m_address(example), m_counters(counters)
{
    // A loop without values skips everything inside it, so one empty counter empties the walk.
    m_done = std::any_of(counters.begin(), counters.end(), [](const RipCounter& c) { return c.isEmpty(); });
}

std::optional<QString> RipAddressWalk::next()
{
    if (m_done)
        return std::nullopt;
    if (!m_started) {
        m_started = true;
        for (int k = 0; k < RipCounter::kCount; ++k) {
            m_values[k] = m_counters[k].min;
            m_counters[k].apply(m_address, m_values[k]);
        }
        return m_address;
    }
    if (!advance()) {
        m_done = true;
        return std::nullopt;
    }
    return m_address;
}

// The innermost counter that has values left takes its next one, and every counter inside
// it starts again from its min: the edits happen in the order the nested loops make them.
bool RipAddressWalk::advance()
{
    int k = RipCounter::kCount - 1;
    while (k >= 0 && m_values[k] >= m_counters[k].max)
        --k;
    if (k < 0)
        return false;
    m_counters[k].apply(m_address, ++m_values[k]);
    for (int inner = k + 1; inner < RipCounter::kCount; ++inner) {
        m_values[inner] = m_counters[inner].min;
        m_counters[inner].apply(m_address, m_values[inner]);
    }
    return true;
}
