#pragma once
// The rules every address passes before the web pane loads it, whoever asks (the address
// box, a favourite, a .URL file, a link in a page): the pane loads http, https and file
// addresses and the empty page about:blank only. A javascript: or data: address from a
// favourite would otherwise run in the origin of the page on show.

#include <QString>

class WebAddress {
public:
    // The address box navigates only a text that holds "://"; anything else is ignored.
    static bool looksNavigable(const QString& text);
    // Whether the pane may load the address (scheme http, https or file, or about:blank).
    static bool isAllowed(const QString& address);
    // The address of a local page file, as the pane loads it.
    static QString forLocalFile(const QString& path);
};
