#pragma once
// The web pane's own back/forward history and the address box's drop-down list, kept by
// the window for the run: BrowserHistory (addresses without duplicates) with its current
// position, the UrlTyped flag set by every navigation the program starts, and the typed
// addresses, most recent first. The browser engine's own history is not used: only
// main-frame navigations reach beforeNavigate, so frames never fill this list.

#include <QString>
#include <QStringList>

class BrowserHistory {
public:
    const QStringList& entries() const { return m_entries; }
    // -1 before the first navigation.
    int index() const { return m_index; }
    const QStringList& typedAddresses() const { return m_typed; }

    // A navigation the program starts (address box, Back, Forward, Home, favourites):
    // its address goes to the top of the typed list when it arrives.
    void markTyped() { m_urlTyped = true; }
    bool isTyped() const { return m_urlTyped; }

    // The engine is about to load address in the main frame. An address already listed only
    // moves the position; a new one drops the entries after the current one and is appended.
    void beforeNavigate(const QString& address);

    bool canGoBack() const { return !m_entries.isEmpty() && m_index > 0; }
    bool canGoForward() const { return m_index >= 0 && m_index < m_entries.size() - 1; }
    // The entry before (after) the current one; empty when there is none.
    QString backAddress() const;
    QString forwardAddress() const;

    // The clean-up empties the drop-down list; the history itself stays.
    void clearTyped() { m_typed.clear(); }

private:
    QStringList m_entries;
    int m_index = -1;
    bool m_urlTyped = false;
    QStringList m_typed;
};
