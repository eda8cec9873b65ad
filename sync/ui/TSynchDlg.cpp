#include "sync/ui/TSynchDlg.h"

#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "platform/ChangeNotices.h"
#include "platform/FileName.h"
#include "platform/JobRunner.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kPollMs = 100;

int percent(std::int64_t part, std::int64_t whole)
{
    if (whole <= 0)
        return 0;
    return int(std::lround(std::min(100.0, 100.0 * double(part) / double(whole))));
}

QListWidgetItem* pathItem(const QString& path)
{
    auto* item = new QListWidgetItem(FileName::display(path));
    item->setData(Qt::UserRole, path);
    return item;
}

QString pathAt(const QListWidget* box, int row)
{
    return box->item(row)->data(Qt::UserRole).toString();
}

// The tree's selected folder without a trailing slash; "" for "My Computer".
QString folderOf(const TPathViewFol* tree)
{
    const QString path = tree->SelectedPath();
    if (path.compare(TPathViewFol::myComputer(), Qt::CaseInsensitive) == 0)
        return QString();
    return PathText::withoutTrailingSlash(path);
}

} // namespace

TSynchDlg::TSynchDlg(const QString& startFolder, const SyncPairLists& lists, QWidget* parent)
    : QDialog(parent)
    , m_startFolder(startFolder)
    , m_lists(lists)
{
    setObjectName(QStringLiteral("SynchDlg"));
    setWindowTitle(caption());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    buildToolBars();
    layout->addWidget(ToolBar1);
    layout->addWidget(ToolBar2);
    buildPanels();
    buildStatus();
    m_poll = new QTimer(this);
    m_poll->setInterval(kPollMs);
    connect(m_poll, &QTimer::timeout, this, &TSynchDlg::pollRun);
    m_scroll = new QTimer(this);
    m_scroll->setInterval(50);
    connect(m_scroll, &QTimer::timeout, this, &TSynchDlg::scrollWhenRead);
    // A fixed dialog border.
    setFixedSize(820, 600);
}

TSynchDlg::~TSynchDlg()
{
    m_runner.reset(); // cancels a run still going and waits for it
}

QString TSynchDlg::caption()
{
    return QStringLiteral("FolVane file synchronizer");
}

void TSynchDlg::buildToolBars()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    CheckBoxMustExist = new QCheckBox(QStringLiteral("File must exist"), ToolBar1);
    CheckBoxMustExist->setObjectName(QStringLiteral("CheckBoxMustExist"));
    CheckBoxRecurse = new QCheckBox(QStringLiteral("Include sub folders"), ToolBar1);
    CheckBoxRecurse->setObjectName(QStringLiteral("CheckBoxRecurse"));
    ButtonSync = new QToolButton(ToolBar1);
    ButtonSync->setObjectName(QStringLiteral("ButtonSync"));
    ButtonSync->setToolTip(QStringLiteral("Synchronize folder(s)"));
    ButtonSync->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    ProgressbarSync = new QProgressBar(ToolBar1);
    ProgressbarSync->setObjectName(QStringLiteral("ProgressbarSync"));
    ProgressbarSync->setRange(0, 100);
    ToolBar1->addWidget(CheckBoxMustExist);
    ToolBar1->addWidget(CheckBoxRecurse);
    ToolBar1->addWidget(ButtonSync);
    // Shown only during a run: a toolbar hides its widgets through their actions.
    ToolBar1->addWidget(ProgressbarSync)->setVisible(false);
    connect(ButtonSync, &QToolButton::clicked, this, &TSynchDlg::ButtonSyncClick);

    ToolBar2 = new QToolBar(this);
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    const auto makeList = [this](const char* name) {
        auto* box = new QListWidget(ToolBar2);
        box->setObjectName(QLatin1String(name));
        box->setFixedHeight(64);
        return box;
    };
    const auto makeButton = [this](const char* name, const QString& text, const QString& hint) {
        auto* button = new QToolButton(ToolBar2);
        button->setObjectName(QLatin1String(name));
        button->setText(text);
        button->setToolTip(hint);
        return button;
    };
    ListBox1 = makeList("ListBox1");
    SaveSyncItems = makeButton("SaveSyncItems", QString(), QStringLiteral("Save Sync Lists"));
    SaveSyncItems->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    AddSyncItems = makeButton("AddSyncItems", QStringLiteral("<Add>"), QStringLiteral("Add Folder(s)"));
    ClearSyncItems = makeButton("ClearSyncItems", QStringLiteral("<Clear>"), QStringLiteral("Clear Sync List(s)"));
    ListBox2 = makeList("ListBox2");
    for (QWidget* widget : {static_cast<QWidget*>(ListBox1), static_cast<QWidget*>(SaveSyncItems),
                            static_cast<QWidget*>(AddSyncItems), static_cast<QWidget*>(ClearSyncItems),
                            static_cast<QWidget*>(ListBox2)})
        ToolBar2->addWidget(widget);
    connect(SaveSyncItems, &QToolButton::clicked, this, &TSynchDlg::SaveSyncItemsClick);
    connect(AddSyncItems, &QToolButton::clicked, this, &TSynchDlg::AddSyncItemsClick);
    connect(ClearSyncItems, &QToolButton::clicked, this, &TSynchDlg::ClearSyncItemsClick);
    // Line n of both boxes is pair n: picking one line picks the pair and shows its folders.
    for (auto [box, other] : {std::pair{ListBox1, ListBox2}, std::pair{ListBox2, ListBox1}}) {
        connect(box, &QListWidget::currentRowChanged, this, [this, other](int row) {
            if (row < 0 || other->currentRow() == row)
                return;
            other->setCurrentRow(row);
            if (!isRunning())
                setFolders(pathAt(ListBox1, row), pathAt(ListBox2, row));
        });
    }
}

void TSynchDlg::buildPanels()
{
    auto* halves = new QHBoxLayout;
    const auto makeHalf = [&](const char* panel, BrowseNavigator& navigator, TPathViewFol*& tree, TFileViewFol*& list,
                              int number) {
        auto* half = new QWidget(this);
        half->setObjectName(QLatin1String(panel));
        auto* column = new QVBoxLayout(half);
        column->setContentsMargins(0, 0, 0, 0);
        tree = new TPathViewFol(half);
        tree->setObjectName(QStringLiteral("PathViewFol%1").arg(number));
        // All drives, folders of every attribute; the browse popups act on the main window.
        tree->setFolderType(TFileAttr::ftReadOnly | TFileAttr::ftHidden | TFileAttr::ftSystem | TFileAttr::ftArchive
                            | TFileAttr::ftDirectory);
        tree->setPopUpMenuEnabled(false);
        list = new TFileViewFol(half);
        list->setObjectName(QStringLiteral("FileViewFol%1").arg(number));
        list->setShowFolders(true);
        list->setFileType(TFileAttr::ftReadOnly | TFileAttr::ftHidden | TFileAttr::ftSystem | TFileAttr::ftArchive
                          | TFileAttr::ftNormal | TFileAttr::ftDirectory);
        list->setParentDirEnabled(false);
        list->setPopUpMenuEnabled(false);
        tree->setNavigator(&navigator);
        list->setNavigator(&navigator);
        column->addWidget(tree, 1);
        column->addWidget(list, 1);
        halves->addWidget(half);
    };
    makeHalf("Panel1", m_leftNavigator, PathViewFol1, FileViewFol1, 1);
    makeHalf("Panel2", m_rightNavigator, PathViewFol2, FileViewFol2, 2);
    static_cast<QVBoxLayout*>(layout())->addLayout(halves, 1);
}

void TSynchDlg::buildStatus()
{
    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    for (QLabel*& panel : m_statusPanels) {
        panel = new QLabel(status);
        // Long texts must not widen the fixed dialog.
        panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        status->addWidget(panel, 1);
    }
    CopyMeter = new QProgressBar(this);
    CopyMeter->setObjectName(QStringLiteral("CopyMeter"));
    CopyMeter->setRange(0, 100);
    CopyMeter->setValue(0);
    static_cast<QVBoxLayout*>(layout())->addWidget(status);
    static_cast<QVBoxLayout*>(layout())->addWidget(CopyMeter);
}

void TSynchDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

void TSynchDlg::FormShow()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    m_leftNavigator.reload(m_startFolder);
    m_rightNavigator.reload(m_startFolder);
    keepSelectionInView();
    for (const SyncPair& pair : m_lists.load()) {
        ListBox1->addItem(pathItem(FileName::decode(pair.left)));
        ListBox2->addItem(pathItem(FileName::decode(pair.right)));
    }
}

QString TSynchDlg::leftFolder() const
{
    return folderOf(PathViewFol1);
}

QString TSynchDlg::rightFolder() const
{
    return folderOf(PathViewFol2);
}

void TSynchDlg::setFolders(const QString& left, const QString& right)
{
    m_leftNavigator.goTo(left);
    m_rightNavigator.goTo(right);
    keepSelectionInView();
}

// The subfolders along a path arrive after its node is selected and push it out of sight;
// once the trees have read them, their selected folders are scrolled back into view.
void TSynchDlg::keepSelectionInView()
{
    m_scrollTries = 40;
    if (!m_scroll->isActive())
        m_scroll->start();
}

void TSynchDlg::scrollWhenRead()
{
    if (--m_scrollTries > 0 && (PathViewFol1->isLoading() || PathViewFol2->isLoading()))
        return;
    m_scroll->stop();
    for (TPathViewFol* tree : {PathViewFol1, PathViewFol2}) {
        if (QTreeWidgetItem* node = tree->currentItem())
            tree->scrollToItem(node, QAbstractItemView::PositionAtCenter);
    }
}

void TSynchDlg::AddSyncItemsClick()
{
    const QString left = leftFolder();
    const QString right = rightFolder();
    const QString problem = SyncRules::textProblem(FileName::encode(left), FileName::encode(right));
    if (!problem.isEmpty()) {
        Prompter::instance().information(problem);
        return;
    }
    for (int row = 0; row < ListBox1->count(); ++row) {
        if (pathAt(ListBox1, row) == left && pathAt(ListBox2, row) == right) {
            Prompter::instance().information(QStringLiteral("Already on list"));
            return;
        }
    }
    ListBox1->addItem(pathItem(left));
    ListBox2->addItem(pathItem(right));
}

void TSynchDlg::ClearSyncItemsClick()
{
    ListBox1->clear();
    ListBox2->clear();
}

void TSynchDlg::SaveSyncItemsClick()
{
    savePairs();
}

bool TSynchDlg::savePairs()
{
    std::vector<SyncPair> list;
    for (int row = 0; row < ListBox1->count(); ++row)
        list.push_back({FileName::encode(pathAt(ListBox1, row)), FileName::encode(pathAt(ListBox2, row))});
    QString error;
    if (m_lists.save(list, &error))
        return true;
    Prompter::instance().warning(error);
    return false;
}

std::vector<SyncPair> TSynchDlg::pairs() const
{
    std::vector<SyncPair> list;
    for (int row = 0; row < ListBox1->count(); ++row)
        list.push_back({FileName::encode(pathAt(ListBox1, row)), FileName::encode(pathAt(ListBox2, row))});
    if (list.empty())
        list.push_back({FileName::encode(leftFolder()), FileName::encode(rightFolder())});
    return list;
}

void TSynchDlg::ButtonSyncClick()
{
    if (isRunning()) {
        stopRun();
        return;
    }
    std::vector<SyncPair> list = pairs();
    if (ListBox1->count() == 0) {
        const QString problem = SyncRules::textProblem(list.front().left, list.front().right);
        if (!problem.isEmpty()) {
            Prompter::instance().information(problem);
            return;
        }
    }
    startRun(std::move(list));
}

void TSynchDlg::startRun(std::vector<SyncPair> pairs)
{
    m_runner.reset();
    m_runPairs = pairs;
    SyncOptions options;
    options.mustExist = CheckBoxMustExist->isChecked();
    options.recurse = CheckBoxRecurse->isChecked();
    m_job = std::make_unique<SyncJob>(std::move(pairs), options);
    m_runner = std::make_unique<JobRunner>(*m_job);
    connect(m_runner.get(), &JobRunner::finished, this, &TSynchDlg::runEnded);
    m_shownPair = -1;
    m_running = true;
    setCursor(Qt::BusyCursor);
    ButtonSync->setIcon(style()->standardIcon(QStyle::SP_BrowserStop));
    ButtonSync->setToolTip(QStringLiteral("Stop"));
    m_runner->start();
    m_poll->start();
}

void TSynchDlg::stopRun()
{
    // The worker notices between files (or inside a big one) and ends; runEnded follows.
    m_job->cancel();
    unsetCursor();
    for (QLabel* panel : m_statusPanels)
        panel->clear();
    setWindowTitle(caption());
}

void TSynchDlg::pollRun()
{
    if (!m_job || m_job->isCancelled())
        return;
    const SyncStatus status = m_job->status();
    if (m_runPairs.size() > 1 || ListBox1->count() > 0)
        showPair(status.pair);
    switch (status.phase) {
    case SyncPhase::CheckingFolders:
        setWindowTitle(QStringLiteral("Checking folders...  Bytes=") + QLocale().toString(qint64(status.bytesFound)));
        break;
    case SyncPhase::CheckingFiles:
        setWindowTitle(QStringLiteral("Checking files..."));
        break;
    case SyncPhase::Synchronizing: {
        setWindowTitle(QStringLiteral("Synchronizing..."));
        ToolBar1->actions().last()->setVisible(true);
        const JobProgress progress = m_job->progress();
        ProgressbarSync->setValue(percent(progress.doneBytes, progress.totalBytes));
        break;
    }
    }
    m_statusPanels[0]->setText(status.leftText);
    m_statusPanels[1]->setText(status.rightText);
    CopyMeter->setValue(percent(status.fileWritten, status.fileSize));
}

// The trees show each pair while it is worked on.
void TSynchDlg::showPair(int index)
{
    if (index == m_shownPair || index < 0 || index >= ListBox1->count())
        return;
    m_shownPair = index;
    ListBox1->setCurrentRow(index);
    ListBox2->setCurrentRow(index);
    setFolders(pathAt(ListBox1, index), pathAt(ListBox2, index));
}

void TSynchDlg::endRunState()
{
    m_poll->stop();
    ToolBar1->actions().last()->setVisible(false);
    ProgressbarSync->setValue(0);
    CopyMeter->setValue(0);
    ButtonSync->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    ButtonSync->setToolTip(QStringLiteral("Synchronize folder(s)"));
    unsetCursor();
    for (QLabel* panel : m_statusPanels)
        panel->clear();
}

void TSynchDlg::runEnded()
{
    if (ListBox1->count() > 0)
        showPair(m_job->status().pair);
    endRunState();
    const SyncResult result = m_job->result();
    const QString error = m_job->errorString();
    const bool refused = m_job->refused();
    // The runner is kept until the next run or the dialog's end: this slot runs inside its signal.
    m_running = false;
    for (const SyncPair& pair : m_runPairs) {
        for (const QByteArray& folder : {pair.left, pair.right})
            ChangeNoticeBus::instance().notify(ChangeEvent::UpdateDir, FileName::decode(folder));
    }
    if (result.foldersCreated > 0) {
        m_leftNavigator.reload(m_leftNavigator.currentFolder());
        m_rightNavigator.reload(m_rightNavigator.currentFolder());
        keepSelectionInView();
    } else {
        FileViewFol1->RefreshList();
        FileViewFol2->RefreshList();
    }
    if (refused) {
        setWindowTitle(caption());
        Prompter::instance().information(error);
        Q_EMIT runFinished();
        return;
    }
    if (!error.isEmpty())
        Prompter::instance().warning(error);
    setWindowTitle(QStringLiteral("Synchronizing complete!"));
    Prompter::instance().ask(PromptKind::Information, PromptButton::Ok,
                             SyncRules::summaryText(result.foldersCreated, result.filesUpdated, result.notUpdated),
                             QStringLiteral("Synchronization Complete!"));
    setWindowTitle(caption());
    Q_EMIT runFinished();
}

void TSynchDlg::done(int result)
{
    // Closing stops a run (its partial copy is removed) and saves the pair lists; a list
    // that cannot be saved is reported once and the dialog closes all the same.
    m_runner.reset();
    savePairs();
    QDialog::done(result);
}
