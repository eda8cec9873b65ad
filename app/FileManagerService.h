#pragma once
// The freedesktop file manager interface (org.freedesktop.FileManager1) on the session bus,
// through which other programs' "Show in folder" reaches this window: ShowFolders opens the
// first folder, ShowItems opens the first item's folder with it selected, and
// ShowItemProperties shows the first item's properties. The window shows one folder at a
// time, so further URIs are left out.
//
// The name is claimed only when no other program holds it, and never queued for: a desktop
// whose own file manager serves the interface keeps it, and no activation file is installed
// by default, so the bus never starts this program in place of the user's file manager.

#include "app/StartArguments.h"

#include <QDBusConnection>
#include <QObject>

class FileManagerService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    static constexpr const char* kName = "org.freedesktop.FileManager1";
    static constexpr const char* kPath = "/org/freedesktop/FileManager1";

    explicit FileManagerService(QObject* parent = nullptr);

    // Serves the object on bus and claims the name when it is free. False when the name is
    // held by another program (or the bus does not answer): nothing is served then.
    bool publish(QDBusConnection bus);

public Q_SLOTS:
    Q_SCRIPTABLE void ShowFolders(const QStringList& uris, const QString& startupId);
    Q_SCRIPTABLE void ShowItems(const QStringList& uris, const QString& startupId);
    Q_SCRIPTABLE void ShowItemProperties(const QStringList& uris, const QString& startupId);

Q_SIGNALS:
    void showRequested(const StartTarget& target);
    void propertiesRequested(const QString& path);

private:
    // The first URI that names an existing local path.
    static StartTarget firstTarget(const QStringList& uris);
};
