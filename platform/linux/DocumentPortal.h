#pragma once
// Files dropped by sandboxed programs (Flatpak, Snap) arrive as a key of the desktop's
// document portal (application/vnd.portal.filetransfer) instead of paths the receiver may
// open; the portal's FileTransfer interface turns the key into paths this program can read.

#include <QByteArray>
#include <QStringList>

namespace DocumentPortal {

inline constexpr char kFileTransfer[] = "application/vnd.portal.filetransfer";

// The paths behind key; empty when no portal runs or it does not know the key. Waits at
// most a second for the portal (a local service).
QStringList retrieveFiles(const QByteArray& key);

} // namespace DocumentPortal
