#include "viewers/ui/ConvertMenus.h"

#include "fileops/ui/TFolProgress_Dlg.h"
#include "fileops/ui/TransferMenus.h"
#include "platform/ChangeNotices.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"
#include "platform/ui/WindowContext.h"
#include "viewers/image/PictureConverter.h"
#include "viewers/ui/ConversionBranch.h"

#include <QAction>
#include <QMenu>

namespace {

// The source kinds in menu order; each conversion goes under the submenu of its source.
const char* const kSources[] = {"BMP", "JPG", "WMF", "GIF", "TIF"};

} // namespace

ConvertMenus::ConvertMenus(WindowContext& context, TransferMenus& transfer)
    : QObject(context.window()), m_context(context), m_transfer(transfer)
{
    ConversionBranch::registerBranches();
    addConvertMenu(context.menu(MainMenu::FileTools), QStringLiteral("Menu"))->setObjectName(QStringLiteral("MenuConvertGraphicFiles"));
    addConvertMenu(transfer.PopupMenuFile(), QStringLiteral("PopupFile"))->setObjectName(QStringLiteral("PopupFileConvertGraphicFiles"));
}

// "Convert Graphic File(s)..." > "BMP to ..." > "JPG", the actions named prefix + "BMPtoJPG".
QMenu* ConvertMenus::addConvertMenu(QMenu* parent, const QString& prefix)
{
    QMenu* menu = parent->addMenu(QStringLiteral("Convert Graphic File(s)..."));
    for (const char* source : kSources) {
        QMenu* from = menu->addMenu(QLatin1String(source) + QStringLiteral(" to ..."));
        from->setObjectName(prefix + QLatin1String(source) + QStringLiteral("to"));
        int code = opBmpToJpg;
        for (const Conversion& conversion : PictureConverter::conversions()) {
            const OperationCode operation = OperationCode(code++);
            const QString caption = QString::fromLatin1(conversion.caption);
            if (!caption.startsWith(QLatin1String(source)))
                continue;
            const QString target = caption.section(QLatin1Char(' '), 2);
            QAction* action = from->addAction(target);
            action->setObjectName(prefix + QLatin1String(source) + QStringLiteral("to") + target);
            connect(action, &QAction::triggered, this, [this, operation] { convert(operation); });
        }
    }
    return menu;
}

void ConvertMenus::convert(OperationCode code)
{
    if (m_context.currentMode() != vmFileManager || !m_transfer.collectWorkList(m_transfer.panes().selectedEntries()))
        return;
    const QString target = m_transfer.askActionTarget(code);
    if (target.isEmpty())
        return;
    const BatchEnd end = RunBatchDialog(m_context.window(), QStringLiteral("Convert graphic format..."), code,
                                        m_transfer.workList(), m_transfer.confirmResults(), false);
    if (end != BatchEnd::Failed)
        showSummary();
    NotifyChange(ChangeEvent::UpdateDir, PathText::withoutTrailingSlash(target));
    m_transfer.panes().refreshList();
    m_context.updateRecentPaths(m_transfer.panes().treeSelectedPath());
}

// What went wrong is told once, after the batch, not in a box per file from the worker.
void ConvertMenus::showSummary()
{
    const QStringList messages = ConversionBranch::messages();
    if (messages.isEmpty())
        return;
    Prompter::instance().information(QStringLiteral("%1 converted.\r\n\r\n").arg(ConversionBranch::written() == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(ConversionBranch::written()))
                                     + messages.join(QStringLiteral("\r\n")));
}
