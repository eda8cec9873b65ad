#pragma once
// org.mpris.MediaPlayer2: who the player is (the program's name and desktop entry) and the
// window's Raise and Quit. No track list, no URIs to open.

#include <QDBusAbstractAdaptor>
#include <QStringList>

class MprisService;

class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ yes)
    Q_PROPERTY(bool CanRaise READ yes)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ none)
    Q_PROPERTY(QStringList SupportedMimeTypes READ none)
public:
    explicit MprisRootAdaptor(MprisService* service);

    bool yes() const { return true; }
    bool no() const { return false; }
    QString identity() const { return QStringLiteral("FolVane III"); }
    // data/folvane3.desktop
    QString desktopEntry() const { return QStringLiteral("folvane3"); }
    QStringList none() const { return {}; }

public Q_SLOTS:
    void Raise();
    void Quit();

private:
    MprisService* m_service;
};
