// The ripper's counter walk and its address rules, against hand-worked series.
#include "internet/RipAddress.h"
#include "internet/RipCounter.h"

#include <gtest/gtest.h>

namespace {

// The dialog's sample address: its "34" starts at position 26.
const QString kSample = QStringLiteral("http://www.xyzabc.com/23/34.pas");

QStringList walked(const QString& example, const RipCounters& counters)
{
    RipAddressWalk walk(example, counters);
    QStringList out;
    while (std::optional<QString> next = walk.next())
        out << *next;
    return out;
}

RipCounters withCounters(std::initializer_list<std::pair<int, RipCounter>> set)
{
    RipCounters counters;
    for (const auto& [place, counter] : set)
        counters[size_t(place - 1)] = counter;
    return counters;
}

} // namespace

TEST(RipCounter, SampleSeriesFetchesOneToSixteen)
{
    ASSERT_EQ(kSample.size(), 31);
    ASSERT_EQ(kSample.mid(25, 2), QStringLiteral("34"));
    const QStringList addresses = walked(kSample, withCounters({{10, {26, 2, 1, 16, false}}}));
    ASSERT_EQ(addresses.size(), 16);
    EXPECT_EQ(addresses.first(), QStringLiteral("http://www.xyzabc.com/23/01.pas"));
    EXPECT_EQ(addresses.at(9), QStringLiteral("http://www.xyzabc.com/23/10.pas"));
    EXPECT_EQ(addresses.last(), QStringLiteral("http://www.xyzabc.com/23/16.pas"));
}

TEST(RipCounter, WalkCases)
{
    struct Case {
        const char* name;
        QString example;
        RipCounters counters;
        QStringList expected;
    };
    const QString base = QStringLiteral("a/00/00.x");
    const Case cases[] = {
        {"outer counter 01, inner counter 10", base, withCounters({{1, {3, 2, 1, 2, false}}, {10, {6, 2, 7, 8, false}}}),
         {"a/01/07.x", "a/01/08.x", "a/02/07.x", "a/02/08.x"}},
        {"min above max fetches nothing", base, withCounters({{10, {6, 2, 5, 3, false}}}), {}},
        {"an empty outer counter fetches nothing", base, withCounters({{2, {0, 0, 5, 3, false}}, {10, {6, 2, 1, 3, false}}}), {}},
        {"a switched-off counter still loops", base, withCounters({{4, {0, 0, 1, 2, false}}, {10, {6, 2, 1, 1, false}}}),
         {"a/00/01.x", "a/00/01.x"}},
        {"longer values are not cut", base, withCounters({{10, {6, 2, 99, 100, false}}}), {"a/00/99.x", "a/00/100.x"}},
        // The address is edited in place: width characters go, the value comes in.
        {"a longer value stays in the address", base, withCounters({{10, {6, 2, 99, 101, false}}}),
         {"a/00/99.x", "a/00/100.x", "a/00/1010.x"}},
        {"letter counter", base, withCounters({{10, {6, 1, 65, 67, true}}}), {"a/00/A0.x", "a/00/B0.x", "a/00/C0.x"}},
        // Past the end each value is appended where the address now ends.
        {"index past the end appends", QStringLiteral("ab"), withCounters({{10, {40, 3, 1, 2, false}}}), {"ab001", "ab001002"}},
        {"width past the end is clamped", QStringLiteral("ab12"), withCounters({{10, {3, 9, 5, 5, false}}}), {"ab000000005"}},
        {"all counters off: the address once", base, RipCounters{}, {"a/00/00.x"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(walked(c.example, c.counters), c.expected) << c.name;
}

TEST(RipCounter, FieldsAreCheckedAndNamed)
{
    struct Case {
        RipCounter::Fields fields;
        const char* error; // empty: valid
    };
    const Case cases[] = {
        {{"26", "2", "1", "16", false}, ""},
        {{"", "", "", "", false}, ""},
        {{"-3", "2", "1", "16", false}, ""},
        {{"26", "x", "1", "16", false}, "Counter 03 width: \"x\" is not a number"},
        {{"26", "2", "1", "1.5", false}, "Counter 03 max: \"1.5\" is not a number"},
        {{"26", "2", "-1", "16", false}, "Counter 03 min: -1 is below 0"},
        {{"26", "1", "0", "122", true}, "Counter 03 alpha: character codes run from 1 to 65535"},
        {{"26", "1", "65", "70000", true}, "Counter 03 alpha: character codes run from 1 to 65535"},
        {{"0", "1", "0", "122", true}, ""},
    };
    for (const Case& c : cases) {
        QString error;
        const std::optional<RipCounter> counter = RipCounter::parse(c.fields, 3, &error);
        EXPECT_EQ(counter.has_value(), QString::fromUtf8(c.error).isEmpty()) << c.error;
        EXPECT_EQ(error, QString::fromUtf8(c.error));
    }
}

TEST(RipAddress, SavedNamesAndDigits)
{
    struct Case {
        QString address;
        QString saved;
        RipAddress::DigitRun run;
        QString positions;
    };
    const Case cases[] = {
        {kSample, "34.cip", {26, 2, "34"}, "023 024 026 027 "},
        {"http://h/dir/", ".cip", {0, 0, "0"}, ""},
        {"http://h/a.b.c", "a.b.cip", {0, 0, "0"}, ""},
        {"http://h/%41name", "%41name.cip", {11, 2, "41"}, "011 012 "},
        {"http://h/x7/pic", "pic.cip", {11, 1, "7"}, "011 "},
        {"http://h/p/007", "007.cip", {12, 3, "007"}, "012 013 014 "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RipAddress::savedName(c.address, QStringLiteral("cip")), c.saved) << c.address.toStdString();
        const RipAddress::DigitRun run = RipAddress::lastDigitRun(c.address);
        EXPECT_EQ(run.index, c.run.index) << c.address.toStdString();
        EXPECT_EQ(run.width, c.run.width) << c.address.toStdString();
        EXPECT_EQ(run.digits, c.run.digits) << c.address.toStdString();
        EXPECT_EQ(RipAddress::digitPositions(c.address), c.positions) << c.address.toStdString();
    }
    EXPECT_TRUE(RipAddress::isUnusableName(QStringLiteral("..")));
    EXPECT_EQ(RipAddress::candidate(QStringLiteral("34.cip"), 1), QStringLiteral("[1]34.cip"));
}

TEST(RipAddress, ProgressWithoutLengthNeverDivides)
{
    EXPECT_EQ(RipAddress::percent(500, -1), 0);
    EXPECT_EQ(RipAddress::percent(500, 0), 0);
    EXPECT_EQ(RipAddress::percent(50, 200), 25);
    EXPECT_EQ(RipAddress::progressText(5, -1).trimmed(), QStringLiteral("5"));
    EXPECT_EQ(RipAddress::progressText(5, 10).size(), 37);
}

TEST(RipAddress, LinkListLines)
{
    EXPECT_EQ(RipAddress::linksIn("http://a/1\r\n\r\n  http://a/2  \nhttp://a/3"),
              QStringList({"http://a/1", "http://a/2", "http://a/3"}));
}
