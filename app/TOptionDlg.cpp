#include "app/TOptionDlg.h"

#include "app/DesktopPanels.h"
#include "app/OptionsHost.h"
#include "app/OptionsRules.h"
#include "app/ProgramSound.h"
#include "internet/CleanupJob.h"
#include "internet/ui/RipThread.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "platform/JobWaiter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QtConcurrent/QtConcurrentRun>

namespace {

QString tellNoProgram()
{
    return QStringLiteral("No settings program for this is installed on this desktop.");
}

void setChecked(QCheckBox* box, bool on)
{
    box->setChecked(on);
}

// Font dialog preset with family and size; true and the choice when OK was pressed.
bool chooseFont(QWidget* parent, QString& family, int& size)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, QFont(family, qMax(1, size)), parent);
    if (ok) {
        family = font.family();
        size = font.pointSize() > 0 ? font.pointSize() : size;
    }
    return ok;
}

} // namespace

TOptionDlg::TOptionDlg(OptionsHost& host, QWidget* parent)
    : QDialog(parent), m_host(host)
{
    setObjectName(QStringLiteral("TOptionDlg"));
    setWindowTitle(QStringLiteral("Options"));
    OptionPages::build(this, m_c);
    // Wide enough for the seven tabs side by side.
    resize(qMax(sizeHint().width(), 720), sizeHint().height());
    FormCreate();
    connectFileManager();
    connectAudioVideo();
    connectEditorAndViewer();
    connectSystem();
    connectInternet();
    connectLists();
    connect(m_c.ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
}

TOptionDlg::~TOptionDlg() = default;

void TOptionDlg::FormCreate()
{
    const AppSettings& s = m_host.settings();
    (s.tabBottom ? m_c.DriveTabBottom : m_c.DriveTabTop)->setChecked(true);
    setChecked(m_c.CheckBoxShowHiddenSystemfiles, s.showHiddenSystemfiles);
    setChecked(m_c.CheckBoxShowDriveTabStatus, s.showDrives);
    setChecked(m_c.CheckBoxShowZipEncryptStatus, s.showZipEncryptStatus);
    setChecked(m_c.CheckBoxOpenByDblClickFV, s.openByDblClickFV);
    setChecked(m_c.CheckBoxAutoSizeColumns, s.autosizeColumns);
    m_c.spinnernextdelay->setValue(s.spinViewDelay);
    m_c.LabelSpinDelay->setText(OptionsRules::spinDelayLabel(m_c.spinnernextdelay->value()));

    setChecked(m_c.CheckBoxShowNextFile, s.showNextFile);
    setChecked(m_c.CheckBoxLoopMedia, s.loopMovie);
    setChecked(m_c.CheckBoxFv2Sounds, s.fv3sounds);
    m_c.MovieRes[qBound(0, s.movieRes, 4)]->setChecked(true);

    setChecked(m_c.CheckBoxAutoIndent, s.textEditorAutoIndent);
    setChecked(m_c.CheckBoxMakeBackup, s.textEditorMakeBackup);
    setChecked(m_c.CheckBoxWordwrap, s.textEditorWordwrap);
    m_c.MaskEditWrapColumn->setText(QString::number(s.textEditorWrapColumn));
    m_c.MaskEditWrapColumn->setVisible(s.textEditorWordwrap);
    m_c.LabelWrapColumn->setVisible(s.textEditorWordwrap);
    m_c.TabType[qBound(0, s.textEditorTabType, 2)]->setChecked(true);
    m_c.MaskEditTabsize->setText(QString::number(s.textEditorTabSize));
    setChecked(m_c.CheckBoxFilterHex, s.fileViewerFilterChar);

    setChecked(m_c.CheckBoxUseSmallZipToExe, s.useSmallZipToExe);
    setChecked(m_c.CheckBoxAnimateStartup, s.animateStartup);
    // What is on disk, not what was stored: the entry may have been removed meanwhile.
    setChecked(m_c.CheckBoxAutoStartFolVane, m_host.autoStartExists());

    m_c.EditMyBrowserWebStr->setText(s.browserWebStr);
    setChecked(m_c.CheckBoxCleanupOnExit, s.cleanUpOnExit);
    ComboBox1Change(0);
}

void TOptionDlg::done(int result)
{
    FormClose();
    QDialog::done(result);
}

// The rows applied on closing, whichever way the dialog closes.
void TOptionDlg::FormClose()
{
    if (std::exchange(m_closed, true))
        return;
    AppSettings& s = m_host.settings();
    s.tabBottom = m_c.DriveTabBottom->isChecked();
    s.showDrives = m_c.CheckBoxShowDriveTabStatus->isChecked();
    s.showZipEncryptStatus = m_c.CheckBoxShowZipEncryptStatus->isChecked();
    s.openByDblClickFV = m_c.CheckBoxOpenByDblClickFV->isChecked();
    s.spinViewDelay = m_c.spinnernextdelay->value();
    s.loopMovie = m_c.CheckBoxLoopMedia->isChecked();
    s.fv3sounds = m_c.CheckBoxFv2Sounds->isChecked();
    for (int i = 0; i < 5; ++i) {
        if (m_c.MovieRes[i]->isChecked())
            s.movieRes = i;
    }
    s.textEditorAutoIndent = m_c.CheckBoxAutoIndent->isChecked();
    s.textEditorMakeBackup = m_c.CheckBoxMakeBackup->isChecked();
    s.textEditorWordwrap = m_c.CheckBoxWordwrap->isChecked();
    s.textEditorWrapColumn = OptionsRules::appliedWrapColumn(m_c.MaskEditWrapColumn->text());
    for (int i = 0; i < 3; ++i) {
        if (m_c.TabType[i]->isChecked())
            s.textEditorTabType = i;
    }
    s.textEditorTabSize = OptionsRules::appliedTabSize(m_c.MaskEditTabsize->text());
    s.fileViewerFilterChar = m_c.CheckBoxFilterHex->isChecked();
    s.useSmallZipToExe = m_c.CheckBoxUseSmallZipToExe->isChecked();
    s.animateStartup = m_c.CheckBoxAnimateStartup->isChecked();
    s.cleanUpOnExit = m_c.CheckBoxCleanupOnExit->isChecked();
    const bool autoStart = m_c.CheckBoxAutoStartFolVane->isChecked();
    if (autoStart == m_host.autoStartExists() || m_host.applyAutoStart(autoStart)) {
        s.autoStartFolVane = autoStart;
    } else {
        s.autoStartFolVane = m_host.autoStartExists();
        Prompter::instance().warning(QStringLiteral("The automatic start could not be changed: the autostart folder cannot be written."));
    }
    m_host.applySettings();
}

void TOptionDlg::applyNow()
{
    m_host.applySettings();
}

void TOptionDlg::connectFileManager()
{
    const bool shares = DesktopPanels::canMountShares(DesktopPanels::systemFinder);
    for (QPushButton* b : {m_c.ButtonMapDrive, m_c.ButtonDisconnectNetworkdrive}) {
        b->setEnabled(shares);
        if (!shares)
            b->setToolTip(QStringLiteral("Network shares are mounted through gio and gvfs, which are not installed"));
    }
    connect(m_c.ButtonMapDrive, &QPushButton::clicked, this, &TOptionDlg::ButtonMapDriveClick);
    connect(m_c.ButtonDisconnectNetworkdrive, &QPushButton::clicked, this, &TOptionDlg::ButtonDisconnectNetworkdriveClick);
    AppSettings& s = m_host.settings();
    connect(m_c.DriveTabBottom, &QRadioButton::toggled, this, [this, &s](bool bottom) {
        s.tabBottom = bottom;
        applyNow();
    });
    connect(m_c.CheckBoxShowHiddenSystemfiles, &QCheckBox::toggled, this, [this, &s](bool on) {
        s.showHiddenSystemfiles = on;
        applyNow();
        m_host.refreshBrowse();
    });
    const std::pair<QCheckBox*, bool AppSettings::*> clickRows[] = {
        {m_c.CheckBoxShowDriveTabStatus, &AppSettings::showDrives},
        {m_c.CheckBoxShowZipEncryptStatus, &AppSettings::showZipEncryptStatus},
        {m_c.CheckBoxAutoSizeColumns, &AppSettings::autosizeColumns},
        {m_c.CheckBoxFv2Sounds, &AppSettings::fv3sounds},
    };
    for (const auto& [box, member] : clickRows) {
        connect(box, &QCheckBox::toggled, this, [this, &s, member = member](bool on) {
            s.*member = on;
            applyNow();
        });
    }
    connect(m_c.ButtonRefresh, &QPushButton::clicked, this, &TOptionDlg::ButtonRefreshClick);
    connect(m_c.spinnernextdelay, &QSlider::valueChanged, this, &TOptionDlg::spinnernextdelayChange);
}

void TOptionDlg::connectAudioVideo()
{
    connectPanel(m_c.SpeedButton1, int(DesktopPanel::Volume));
    connectPanel(m_c.Button2, int(DesktopPanel::Sound));
    connect(m_c.ButtonGetVideoModes, &QPushButton::clicked, this, &TOptionDlg::ButtonGetVideoModesClick);
    AppSettings& s = m_host.settings();
    // The two media choices exclude each other; both may be off.
    connect(m_c.CheckBoxShowNextFile, &QCheckBox::toggled, this, [this, &s](bool on) {
        s.showNextFile = on;
        if (on)
            m_c.CheckBoxLoopMedia->setChecked(false);
        applyNow();
    });
    connect(m_c.CheckBoxLoopMedia, &QCheckBox::toggled, this, [this, &s](bool on) {
        s.loopMovie = on;
        if (on)
            m_c.CheckBoxShowNextFile->setChecked(false);
        applyNow();
    });
    for (int i = 0; i < 5; ++i) {
        connect(m_c.MovieRes[i], &QRadioButton::toggled, this, [this, &s, i](bool on) {
            if (!on)
                return;
            s.movieRes = i;
            applyNow();
        });
    }
    const std::pair<QPushButton*, const char*> sounds[] = {{m_c.Button4, "fv3start"}, {m_c.Button5, "fv3plop"}, {m_c.Button6, "fv3end"}};
    for (const auto& [button, entry] : sounds) {
        connect(button, &QPushButton::clicked, this, [entry = entry] {
            // These buttons play whether or not sounds are on.
            const bool enabled = ProgramSound::isEnabled();
            ProgramSound::setEnabled(true);
            PlayProgramSound(entry);
            ProgramSound::setEnabled(enabled);
        });
    }
}

void TOptionDlg::connectEditorAndViewer()
{
    connect(m_c.CheckBoxWordwrap, &QCheckBox::toggled, this, [this](bool on) {
        m_c.MaskEditWrapColumn->setVisible(on);
        m_c.LabelWrapColumn->setVisible(on);
    });
    AppSettings& s = m_host.settings();
    connect(m_c.ButtonEditorFont, &QPushButton::clicked, this, [this, &s] {
        if (chooseFont(this, s.textEditorFont, s.textEditorSize))
            applyNow();
    });
    connect(m_c.ButtonViewerFont, &QPushButton::clicked, this, [this, &s] {
        if (chooseFont(this, s.fileViewerFont, s.fileViewerSize))
            applyNow();
    });
}

void TOptionDlg::connectSystem()
{
    connect(m_c.ButtonProgramList, &QPushButton::clicked, this, &TOptionDlg::ButtonProgramListClick);
    connectPanel(m_c.ButtonNetwork, int(DesktopPanel::Network));
    connectPanel(m_c.ButtonDesktop, int(DesktopPanel::Display));
    connectPanel(m_c.ButtonTime, int(DesktopPanel::DateTime));
    connectPanel(m_c.Button7, int(DesktopPanel::ControlCentre));
}

void TOptionDlg::connectInternet()
{
    AppSettings& s = m_host.settings();
    connect(m_c.EditMyBrowserWebStr, &QLineEdit::textChanged, this, [&s](const QString& text) { s.browserWebStr = text; });
    connect(m_c.CheckBoxCleanupOnExit, &QCheckBox::toggled, this, [&s](bool on) { s.cleanUpOnExit = on; });
    connect(m_c.Button3, &QPushButton::clicked, this, &TOptionDlg::Button3Click);
    connect(m_c.BitBtn2, &QPushButton::clicked, this, &TOptionDlg::BitBtn2Click);
    connectPanel(m_c.Button1, int(DesktopPanel::Internet));
    connect(m_c.ButtonDeleteTempFiles, &QPushButton::clicked, this, &TOptionDlg::ButtonDeleteTempFilesClick);
    connect(m_c.ButtonCleardocs, &QPushButton::clicked, this, &TOptionDlg::ButtonCleardocsClick);
    connect(m_c.ButtonEmptyRecycle, &QPushButton::clicked, this, &TOptionDlg::ButtonEmptyRecycleClick);
    connect(m_c.ButtonClearCache, &QPushButton::clicked, this, &TOptionDlg::ButtonClearCacheClick);
    connect(m_c.ButtonClearAll, &QPushButton::clicked, this, &TOptionDlg::ButtonClearAllClick);
}

void TOptionDlg::connectLists()
{
    connect(m_c.ComboBox1, &QComboBox::currentIndexChanged, this, &TOptionDlg::ComboBox1Change);
    connect(m_c.ButtonSaveListEditor, &QPushButton::clicked, this, &TOptionDlg::ButtonSaveListEditorClick);
}

// A settings button opens the first installed program of the running desktop; without
// one it is disabled and says why.
void TOptionDlg::connectPanel(QAbstractButton* button, int panel)
{
    const std::optional<QStringList> command =
        DesktopPanels::command(DesktopPanel(panel), DesktopPanels::currentDesktops(), DesktopPanels::systemFinder);
    button->setEnabled(command.has_value());
    if (!command) {
        button->setToolTip(tellNoProgram());
        return;
    }
    connect(button, &QAbstractButton::clicked, this, [command] {
        if (!QProcess::startDetached(command->first(), command->mid(1)))
            Prompter::instance().error(QStringLiteral("Cannot start ") + command->join(QLatin1Char(' ')));
    });
}

void TOptionDlg::ButtonMapDriveClick()
{
    const std::optional<QString> address = Prompter::instance().askText(
        QStringLiteral("Map Network Drive"), QStringLiteral("Share address (smb://server/share, sftp://host/folder):"), QStringLiteral("smb://"));
    if (address && !address->trimmed().isEmpty())
        runGio(DesktopPanels::mountCommand(address->trimmed()), QStringLiteral("mount"));
}

void TOptionDlg::ButtonDisconnectNetworkdriveClick()
{
    auto* list = new QProcess(this);
    connect(list, &QProcess::finished, this, [this, list] {
        list->deleteLater();
        const QStringList shares = DesktopPanels::mountedShares(list->readAllStandardOutput());
        const std::optional<QString> address = Prompter::instance().askText(
            QStringLiteral("Disconnect Network Drive"), QStringLiteral("Share address to disconnect:"), shares.value(0));
        if (address && !address->trimmed().isEmpty())
            runGio(DesktopPanels::unmountCommand(address->trimmed()), QStringLiteral("unmount"));
    });
    list->start(QStringLiteral("gio"), {QStringLiteral("mount"), QStringLiteral("-l")});
}

// gio runs without a terminal: a share that needs a password fails with gio's own reason.
void TOptionDlg::runGio(const QStringList& arguments, const QString& what)
{
    auto* gio = new QProcess(this);
    gio->setStandardInputFile(QProcess::nullDevice());
    connect(gio, &QProcess::finished, this, [gio, what](int code, QProcess::ExitStatus status) {
        gio->deleteLater();
        if (status != QProcess::NormalExit || code != 0)
            Prompter::instance().error(QStringLiteral("Could not %1 the share:\r\n").arg(what)
                                       + QString::fromUtf8(gio->readAllStandardError()).trimmed());
    });
    gio->start(QStringLiteral("gio"), arguments);
}

void TOptionDlg::ButtonRefreshClick()
{
    m_host.refreshBrowse();
}

void TOptionDlg::spinnernextdelayChange(int value)
{
    const int stepped = qRound(value / double(OptionsRules::kSpinDelayStep)) * OptionsRules::kSpinDelayStep;
    if (stepped != value) {
        m_c.spinnernextdelay->setValue(stepped);
        return;
    }
    m_host.settings().spinViewDelay = value;
    m_c.LabelSpinDelay->setText(OptionsRules::spinDelayLabel(value));
    applyNow();
}

// XRandR's modes on X11; elsewhere the screens' current sizes.
void TOptionDlg::ButtonGetVideoModesClick()
{
    m_c.MemoVideoModes->clear();
    const QString xrandr = DesktopPanels::systemFinder(QStringLiteral("xrandr"));
    if (QGuiApplication::platformName() == QLatin1String("xcb") && !xrandr.isEmpty()) {
        auto* process = new QProcess(this);
        connect(process, &QProcess::finished, this, [this, process] {
            process->deleteLater();
            m_c.MemoVideoModes->setPlainText(DesktopPanels::displayModes(process->readAllStandardOutput()).join(QLatin1Char('\n')));
        });
        process->start(xrandr, {});
        return;
    }
    QStringList modes;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QString mode = QStringLiteral("%1-%2").arg(screen->size().width()).arg(screen->size().height());
        if (!modes.contains(mode))
            modes << mode;
    }
    m_c.MemoVideoModes->setPlainText(modes.join(QLatin1Char('\n')));
}

void TOptionDlg::ButtonProgramListClick()
{
    m_c.Memo1->clear();
    auto* watcher = new QFutureWatcher<QStringList>(this);
    connect(watcher, &QFutureWatcher<QStringList>::finished, this, [this, watcher] {
        watcher->deleteLater();
        m_c.Memo1->setPlainText(watcher->result().join(QLatin1Char('\n')));
    });
    watcher->setFuture(QtConcurrent::run([folders = DesktopPanels::dataFolders()] { return DesktopPanels::installedPrograms(folders); }));
}

// Download into the tree's folder under the raw last part of the address, or "[n]name".
void TOptionDlg::Button3Click()
{
    const QString address = m_c.Edit1->text().trimmed();
    if (!m_download) {
        m_download = new RipThread(this);
        connect(m_download->run(), &RipRun::saved, this, [this] { m_downloadSaved = true; });
        connect(m_download->run(), &RipRun::finished, this, [this] {
            QApplication::restoreOverrideCursor();
            m_c.Button3->setEnabled(true);
            if (!m_downloadSaved)
                Prompter::instance().error(QStringLiteral("Failed to download file"));
            Q_EMIT downloadFinished(m_downloadSaved);
        });
    }
    m_downloadSaved = false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_c.Button3->setEnabled(false);
    RipTarget target;
    target.folder = m_host.treeFolder();
    target.keepName = true;
    m_download->post([address, target](RipRun& run) { run.downloadOne(address, target); });
}

// The favourites folder opens in the window's file list, which this modal dialog covers and
// locks: the dialog closes (applying its settings, as every close does) so that the user
// can organise them there.
void TOptionDlg::BitBtn2Click()
{
    m_host.organizeFavorites();
    accept();
}

void TOptionDlg::ButtonDeleteTempFilesClick()
{
    if (!Prompter::instance().confirm(QStringLiteral("Delete all files in?\r\n") + m_host.tempFolder()))
        return;
    if (const Status status = m_host.emptyTempFolder(); !status)
        Prompter::instance().error(status.errorString());
}

void TOptionDlg::ButtonCleardocsClick()
{
    if (!Prompter::instance().confirm(QStringLiteral("Clear recent docs?")))
        return;
    if (const Status status = ClearRecentDocuments(); !status)
        Prompter::instance().error(status.errorString());
}

// The Clean up run's own step, on a worker: the dialog keeps painting, and a long emptying
// shows the progress window with Cancel.
void TOptionDlg::ButtonEmptyRecycleClick()
{
    CleanupJob job(CleanupStep::RecycleBin);
    RunJob(job, QString::fromLatin1(CleanupSteps::texts(CleanupStep::RecycleBin).running));
    if (!job.isCancelled() && !job.errorString().isEmpty())
        Prompter::instance().error(job.errorString());
}

void TOptionDlg::ButtonClearCacheClick()
{
    if (!Prompter::instance().confirm(QStringLiteral("Delete all Internet cache/history?")))
        return;
    QWidget* window = m_host.window();
    const QString caption = window->windowTitle();
    window->setWindowTitle(QStringLiteral("Clearing Internet Cache"));
    m_host.clearWebCache();
    window->setWindowTitle(QStringLiteral("Clearing Internet History"));
    m_host.clearWebHistory();
    window->setWindowTitle(caption);
}

void TOptionDlg::ButtonClearAllClick()
{
    m_host.runCleanup();
}

void TOptionDlg::ComboBox1Change(int index)
{
    m_c.Memo2->setPlainText(OptionsRules::loadList(m_host.settingsFile(), qMax(0, index)).join(QLatin1Char('\n')));
}

void TOptionDlg::ButtonSaveListEditorClick()
{
    const QString text = m_c.Memo2->toPlainText();
    const QStringList lines = text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    bool ok = false;
    const QStringList stored = OptionsRules::saveList(m_host.settingsFile(), m_c.ComboBox1->currentIndex(), lines, m_host.settings(), &ok);
    m_c.Memo2->setPlainText(stored.join(QLatin1Char('\n')));
    applyNow();
    if (!ok)
        Prompter::instance().error(QStringLiteral("The list could not be saved in ") + m_host.settingsFile());
}
