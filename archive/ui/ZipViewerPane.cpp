#include "archive/ui/ZipViewerPane.h"

#include "archive/tools/ZipKitJob.h"
#include "archive/tools/ZipQuestions.h"
#include "archive/ui/TAbZipView.h"
#include "archive/ui/ZipListModel.h"
#include "browse/BrowseNavigator.h"
#include "platform/FileOperation.h"
#include "platform/JobWaiter.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"
#include "platform/UiThread.h"
#include "platform/ui/WindowContext.h"

#include <QAction>
#include <QApplication>
#include <QItemSelectionModel>
#include <QMenu>
#include <QtConcurrent/QtConcurrentRun>

ZipViewerPane::ZipViewerPane(WindowContext& context, QWidget* parent)
    : m_context(context), m_view(new TAbZipView(parent)), m_popup(new QMenu(m_view))
{
    setParent(m_view);
    m_popup->setObjectName(QStringLiteral("PopupMenuZipView"));
    m_selectAll = addItem("PopupZipViewSelectAll", QStringLiteral("Select All"));
    m_extract = addItem("PopupZipViewExtract", QStringLiteral("Extract (no file selected)"));
    m_delete = addItem("PopupZipViewDelete", QStringLiteral("Delete entire Zip file"));
    m_popup->addSeparator();
    QAction* close = addItem("PopupZipViewClose", QStringLiteral("Close"));
    connect(m_selectAll, &QAction::triggered, this, &ZipViewerPane::toggleSelectAll);
    connect(m_extract, &QAction::triggered, this, &ZipViewerPane::PopupMenuZipViewExtractClick);
    connect(m_delete, &QAction::triggered, this, &ZipViewerPane::deleteSelected);
    connect(close, &QAction::triggered, this, &ZipViewerPane::PopupMenuZipViewCloseClick);
    connect(m_popup, &QMenu::aboutToShow, this, &ZipViewerPane::PopupMenuZipViewPopup);
    connect(m_view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_popup->popup(m_view->viewport()->mapToGlobal(at)); });
    // A double click runs the view toggle, which leaves the viewer.
    connect(m_view, &QAbstractItemView::doubleClicked, this, &ZipViewerPane::PopupMenuZipViewCloseClick);
    connect(&m_opening, &QFutureWatcher<Opened>::finished, this, &ZipViewerPane::opened);
}

ZipViewerPane::~ZipViewerPane()
{
    m_opening.waitForFinished();
}

QWidget* ZipViewerPane::widget() const
{
    return m_view;
}

QAction* ZipViewerPane::addItem(const char* name, const QString& caption)
{
    QAction* action = m_popup->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

QString ZipViewerPane::openErrorText(const QString& path, const QString& reason)
{
    return QStringLiteral("Can not open Zip file to view ") + QStringLiteral("\r\n") + PathText::nameOf(path) + QStringLiteral("\r\n") + reason;
}

void ZipViewerPane::enter(const QString& path)
{
    if (!m_deleteHooked) {
        // The Edit menu's Delete acts on the viewer in this mode.
        if (QAction* menuDelete = m_context.window()->findChild<QAction*>(QStringLiteral("MenuDelete"))) {
            connect(menuDelete, &QAction::triggered, this, [this] {
                if (m_context.currentMode() == vmZipViewer)
                    deleteSelected();
            });
        }
        m_deleteHooked = true;
    }
    m_path = path;
    m_kit.reset();
    m_view->listModel().setEntries({});
    const quint64 generation = ++m_generation;
    m_opening.setFuture(QtConcurrent::run([path, generation] {
        Opened result{std::make_shared<TAbZipKit>(), QString(), generation};
        if (!result.kit->setFileName(path)) {
            result.error = result.kit->errorString();
            result.kit.reset();
        }
        return result;
    }));
}

void ZipViewerPane::opened()
{
    Opened result = m_opening.result();
    if (result.generation != m_generation || m_context.currentMode() != vmZipViewer)
        return;
    if (!result.kit) {
        Prompter::instance().error(openErrorText(m_path, result.error));
        Q_EMIT openFailed();
        m_context.switchMode(vmFileManager, m_path);
        return;
    }
    m_kit = std::move(result.kit);
    // The engine's default extraction folder applies: beside the archive; the entries keep
    // their folders, as the confirmation dialog's Create Folders and Restore Path start.
    m_kit->BaseDirectory.clear();
    m_kit->ExtractOptions = ZipExtractOption::CreateDirs | ZipExtractOption::RestorePath;
    wireKit();
    showEntries();
    Q_EMIT archiveShown();
}

void ZipViewerPane::wireKit()
{
    m_kit->OnNeedPassword = [](QString& password) { RunOnUiThread([&] { ZipQuestions::needPassword(password); }); };
    auto warn = std::make_shared<bool>(true);
    m_kit->OnConfirmOverwrite = [warn](QString& name, bool& confirm) {
        RunOnUiThread([&] { ZipQuestions::confirmOverwrite(name, confirm, *warn); });
    };
}

void ZipViewerPane::showEntries()
{
    std::vector<ZipEntry> entries;
    if (m_kit) {
        for (int i = 0; i < m_kit->Count(); ++i)
            entries.push_back(m_kit->Items(i));
    }
    m_view->listModel().setEntries(std::move(entries));
}

void ZipViewerPane::leave()
{
    ++m_generation;
    m_kit.reset();
    m_view->listModel().setEntries({});
}

void ZipViewerPane::PopupMenuZipViewPopup()
{
    const int k = m_view->selectedCount();
    m_selectAll->setText(m_view->allSelected() ? QStringLiteral("Un-Select All") : QStringLiteral("Select All"));
    m_extract->setEnabled(k > 0);
    m_extract->setText(k > 0 ? QStringLiteral("Extract ") + QString::number(k) + QStringLiteral(" selected files")
                             : QStringLiteral("Extract (no file selected)"));
    m_delete->setText(k > 0 ? QStringLiteral("Delete ") + QString::number(k) + QStringLiteral(" selected files")
                            : QStringLiteral("Delete entire Zip file"));
}

void ZipViewerPane::toggleSelectAll()
{
    if (m_view->allSelected())
        m_view->clearSelection();
    else
        m_view->selectAll();
}

bool ZipViewerPane::runOnKit(const QString& title, const std::function<bool(TAbZipKit&, QString&)>& work)
{
    if (!m_kit)
        return false;
    std::shared_ptr<TAbZipKit> kit = m_kit;
    ZipKitJob job([kit, work](QString& error) { return work(*kit, error); });
    m_view->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    RunJob(job, title);
    QApplication::restoreOverrideCursor();
    m_view->setEnabled(true);
    if (!job.errorString().isEmpty() && !job.isCancelled())
        Prompter::instance().error(job.errorString());
    return job.succeeded();
}

void ZipViewerPane::PopupMenuZipViewExtractClick()
{
    const QList<int> selected = m_view->selectedEntries();
    if (!m_kit || selected.isEmpty())
        return;
    m_kit->ClearTags();
    bool encrypted = false;
    for (int i : selected) {
        m_kit->Items(i).Tagged = true;
        encrypted = encrypted || m_kit->IsEncrypted(i);
    }
    if (encrypted) {
        ZipQuestions::needPassword(m_kit->Password);
        m_kit->Password = ZipQuestions::savedPassword();
    }
    runOnKit(QStringLiteral("Extracting..."), [](TAbZipKit& kit, QString& error) {
        const bool ok = kit.ExtractTaggedItems();
        if (!ok)
            error = (QStringList{kit.errorString()} + kit.problems()).join(QStringLiteral("\r\n"));
        return ok;
    });
    m_kit->ClearTags();
    m_view->clearSelection();
    m_context.navigator().reload(PathText::withTrailingSlash(PathText::folderOf(m_path)));
}

void ZipViewerPane::deleteSelected()
{
    const QList<int> selected = m_view->selectedEntries();
    if (!m_kit)
        return;
    if (selected.isEmpty() || m_view->allSelected()) {
        deleteArchive();
        return;
    }
    if (Prompter::instance().ask(PromptKind::Warning, PromptButton::Yes | PromptButton::No, QStringLiteral("Delete selected file(s)?"))
        != PromptButton::Yes)
        return;
    m_kit->ClearTags();
    for (int i : selected)
        m_kit->Items(i).Tagged = true;
    m_kit->DeleteTaggedItems();
    runOnKit(QStringLiteral("Saving..."), [](TAbZipKit& kit, QString& error) {
        const bool ok = kit.Save();
        if (!ok)
            error = kit.errorString();
        return ok;
    });
    // After a failed save the archive on disk is unchanged: show what it holds.
    if (m_kit->isModified())
        m_kit->setFileName(m_path);
    m_view->clearSelection();
    showEntries();
}

void ZipViewerPane::deleteArchive()
{
    m_kit->CloseArchive();
    m_kit.reset();
    const QString path = m_path;
    if (RunFileOperation(FileOperationKind::Delete, {path}, {}).ok())
        m_context.switchMode(vmFileManager, PathText::folderOf(path));
    else
        enter(path);
}

void ZipViewerPane::PopupMenuZipViewCloseClick()
{
    m_context.switchMode(vmFileManager, m_path);
}
