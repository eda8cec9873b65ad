// The web pane's own history and address list, the address rules and the saved page's name.
#include "internet/BrowserHistory.h"
#include "internet/SavePageName.h"
#include "internet/WebAddress.h"

#include <gtest/gtest.h>

namespace {

// Steps: an address navigates (typed when it starts with "*"), "<" and ">" go back and
// forward the way the pane does (navigating to the neighbouring entry).
BrowserHistory replay(const QStringList& steps)
{
    BrowserHistory history;
    for (const QString& step : steps) {
        QString address = step;
        if (step == QLatin1String("<"))
            address = history.backAddress();
        else if (step == QLatin1String(">"))
            address = history.forwardAddress();
        if (address.startsWith(QLatin1Char('*'))) {
            address.remove(0, 1);
            history.markTyped();
        }
        if (!address.isEmpty())
            history.beforeNavigate(address);
    }
    return history;
}

} // namespace

TEST(BrowserHistory, KeepsOneEntryPerAddressAndCutsTheForwardPart)
{
    struct Case {
        const char* name;
        QStringList steps;
        QStringList entries;
        int index;
    } cases[] = {
        {"new after back drops the rest", {"A", "B", "C", "<", "D"}, {"A", "B", "D"}, 2},
        {"back after that returns to B", {"A", "B", "C", "<", "D", "<"}, {"A", "B", "D"}, 1},
        {"a known address only moves", {"A", "B", "C", "A"}, {"A", "B", "C"}, 0},
        {"forward after back", {"A", "B", "<", ">"}, {"A", "B"}, 1},
        {"back at the start does nothing", {"A", "<"}, {"A"}, 0},
        {"nothing yet", {}, {}, -1},
    };
    for (const Case& c : cases) {
        const BrowserHistory history = replay(c.steps);
        EXPECT_EQ(history.entries(), c.entries) << c.name;
        EXPECT_EQ(history.index(), c.index) << c.name;
    }
}

TEST(BrowserHistory, BackAndForwardAreEnabledByPosition)
{
    BrowserHistory history;
    EXPECT_FALSE(history.canGoBack());
    EXPECT_FALSE(history.canGoForward());
    history.beforeNavigate(QStringLiteral("A"));
    EXPECT_FALSE(history.canGoBack());
    history.beforeNavigate(QStringLiteral("B"));
    EXPECT_TRUE(history.canGoBack());
    EXPECT_FALSE(history.canGoForward());
    history.beforeNavigate(QStringLiteral("A"));
    EXPECT_FALSE(history.canGoBack());
    EXPECT_TRUE(history.canGoForward());
}

TEST(BrowserHistory, TypedAddressesComeFirstWithoutDuplicatesAndClearAlone)
{
    BrowserHistory history = replay({"*A", "link", "*B", "*A"});
    EXPECT_EQ(history.typedAddresses(), (QStringList{"A", "B"}));
    EXPECT_FALSE(history.isTyped()); // consumed by the navigation
    history.clearTyped();
    EXPECT_TRUE(history.typedAddresses().isEmpty());
    EXPECT_EQ(history.entries(), (QStringList{"A", "link", "B"}));
}

TEST(WebAddress, LoadsOnlyWebFileAndBlankAddresses)
{
    struct Case {
        const char* address;
        bool navigable; // holds "://"
        bool allowed;
    } cases[] = {
        {"http://127.0.0.1:8080/a.html", true, true},
        {"HTTPS://example.org/", true, true},
        {"file:///tmp/page.html", true, true},
        {"about:blank", false, true},
        {"about:config", false, false},
        {"javascript:alert(document.cookie)", false, false},
        {"javascript://example.org/%0Aalert(1)", true, false},
        {"data:text/html,<script>alert(1)</script>", false, false},
        {"ftp://example.org/", true, false},
        {"http://", true, false},
        {"www.example.org", false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WebAddress::looksNavigable(QLatin1String(c.address)), c.navigable) << c.address;
        EXPECT_EQ(WebAddress::isAllowed(QLatin1String(c.address)), c.allowed) << c.address;
    }
}

TEST(SavePageName, ReplacesOrAddsTheExtension)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/d/page.htm", "/d/page.HTML"},
        {"/d/page", "/d/page.HTML"},
        {"/d/page.HTML", "/d/page.HTML"},
        {"/d/archive.tar.gz", "/d/archive.tar.HTML"},
        {"/my.pages/page", "/my.pages/page.HTML"},
        {"/d/.profile", "/d/.profile.HTML"},
    };
    for (const auto& [chosen, written] : cases)
        EXPECT_EQ(SavePageName::finalName(QLatin1String(chosen)), QLatin1String(written)) << chosen;
}
