#pragma once
// The options dialog ("Options"): the settings of every subsystem on seven pages, the
// desktop's settings programs, the network-share mounts, the clean-up steps one by one and
// the Lists Editor. It holds no settings of its own: it edits the host's (the window's)
// values, some as soon as a control is clicked and the rest when it closes, whichever way
// it is closed (there is no Cancel).

#include "app/OptionPages.h"

#include <QDialog>

class OptionsHost;
class QAbstractButton;
class RipThread;

class TOptionDlg : public QDialog {
    Q_OBJECT
public:
    explicit TOptionDlg(OptionsHost& host, QWidget* parent = nullptr);
    ~TOptionDlg() override;

    const OptionControls& controls() const { return m_c; }

    void done(int result) override;

Q_SIGNALS:
    // The download of the Internet page has ended (ok: a file was saved).
    void downloadFinished(bool ok);

private:
    void FormCreate();
    void FormClose();
    void connectFileManager();
    void connectAudioVideo();
    void connectEditorAndViewer();
    void connectSystem();
    void connectInternet();
    void connectLists();
    void connectPanel(QAbstractButton* button, int panel);
    void applyNow();

    void ButtonMapDriveClick();
    void ButtonDisconnectNetworkdriveClick();
    void ButtonRefreshClick();
    void spinnernextdelayChange(int value);
    void ButtonGetVideoModesClick();
    void ButtonProgramListClick();
    void Button3Click();
    void BitBtn2Click();
    void ButtonDeleteTempFilesClick();
    void ButtonCleardocsClick();
    void ButtonEmptyRecycleClick();
    void ButtonClearCacheClick();
    void ButtonClearAllClick();
    void ComboBox1Change(int index);
    void ButtonSaveListEditorClick();
    void runGio(const QStringList& arguments, const QString& what);

    OptionsHost& m_host;
    OptionControls m_c;
    RipThread* m_download = nullptr;
    bool m_downloadSaved = false;
    bool m_closed = false;
};
