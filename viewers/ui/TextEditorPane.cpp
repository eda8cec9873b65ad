#include "viewers/ui/TextEditorPane.h"

#include "platform/FileName.h"
#include "platform/Pickers.h"
#include "platform/Prompter.h"
#include "platform/ui/WindowContext.h"
#include "viewers/EditorSettings.h"
#include "viewers/text/EditorRecovery.h"
#include "viewers/text/PagedFile.h"
#include "viewers/text/PrintLayout.h"
#include "viewers/text/TextFileSaver.h"
#include "viewers/ui/TextEditorControl.h"

#include <QAction>
#include <QClipboard>
#include <QFontDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

#include <sys/stat.h>

namespace {

const QString kSaveFilter = QStringLiteral("All Files (*.*);;Text Files (*.TXT)");

bool pathExists(const QString& path)
{
    struct stat st {};
    return !path.isEmpty() && ::stat(FileName::encode(path).constData(), &st) == 0;
}

QString baseName(const QString& path)
{
    return FileName::display(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
}

} // namespace

TextEditorPane::TextEditorPane(WindowContext& context, EditorSettings& settings, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_settings(settings)
    , m_editor(new TextEditorControl(this))
{
    setObjectName(QStringLiteral("TextEditor"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_editor);
    buildPopup();
    connectBand();
    m_editor->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_editor, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_popup->popup(m_editor->mapToGlobal(at)); });
    connect(m_editor, &TextEditorControl::statusChanged, this, &TextEditorPane::showStatus);
    connect(m_editor, &TextEditorControl::altF2Pressed, this, &TextEditorPane::close);
    connect(m_editor, &TextEditorControl::doubleClicked, this, &TextEditorPane::close);
    connect(m_editor->document(), &QTextDocument::contentsChanged, this, [this] { m_discarded = false; });
    applySettings();
}

QString TextEditorPane::settingsGroup() const
{
    return QLatin1String(EditorSettings::kGroup);
}

void TextEditorPane::applySettings()
{
    m_editor->setAutoIndent(m_settings.textEditorAutoIndent);
    m_editor->setWordWrap(m_settings.textEditorWordwrap);
    m_editor->setWrapColumn(m_settings.textEditorWrapColumn);
    m_editor->setTabType(TextEditorControl::TabType(std::clamp(m_settings.textEditorTabType, 0, 2)));
    m_editor->setTabSize(m_settings.textEditorTabSize);
    m_editor->setFixedFont(QFont(m_settings.textEditorFont, std::max(1, m_settings.textEditorSize)));
}

bool TextEditorPane::isModified() const
{
    return m_editor->document()->isModified();
}

bool TextEditorPane::hasSelection() const
{
    return m_editor->textCursor().hasSelection();
}

bool TextEditorPane::canUndo() const
{
    return m_editor->document()->isUndoAvailable();
}

int TextEditorPane::lineCount() const
{
    return hasLines() ? m_editor->document()->blockCount() : 0;
}

bool TextEditorPane::hasLines() const
{
    return !m_editor->document()->isEmpty();
}

void TextEditorPane::enter(const QString& path)
{
    applySettings();
    if (!path.isEmpty())
        openFile(path);
    m_editor->setFocus();
    showStatus();
}

bool TextEditorPane::openFile(const QString& path)
{
    m_path = path;
    m_format = {};
    m_discarded = false;
    QByteArray bytes;
    if (pathExists(path)) {
        // Read through the viewer's paged file: it refuses a FIFO or device before it blocks.
        PagedFile file;
        if (!file.open(path)) {
            Prompter::instance().error(file.errorString());
            m_path.clear();
            return false;
        }
        bytes = file.read(0, file.size());
    }
    const TextFileCodec::Decoded decoded = TextFileCodec::decode(bytes);
    m_format = decoded.format;
    m_editor->setPlainText(decoded.text);
    m_editor->document()->setModified(false);
    m_editor->moveCursor(QTextCursor::Start);
    showStatus();
    return true;
}

QByteArray TextEditorPane::encodedText()
{
    return TextFileCodec::encode(m_editor->documentText(), m_format);
}

bool TextEditorPane::saveTo(const QString& path)
{
    const ViewerStatus saved = TextFileSaver::save(path, encodedText(), m_settings.textEditorMakeBackup);
    if (!saved) {
        Prompter::instance().error(saved.errorString());
        return false;
    }
    m_path = path;
    m_editor->document()->setModified(false);
    showStatus();
    return true;
}

void TextEditorPane::MenuSaveClick()
{
    if (m_path.isEmpty())
        saveAs();
    else
        saveTo(m_path);
}

QString TextEditorPane::saveAs()
{
    const QString target = Pickers::instance().saveFile(QString(), m_path, kSaveFilter);
    if (target.isEmpty() || !saveTo(target))
        return QString();
    return target;
}

bool TextEditorPane::mayLeave()
{
    if (!IsOpen() || m_discarded || (!isModified() && pathExists(m_path)))
        return true;
    if (!saveAs().isEmpty())
        return true;
    // Cancelling the save dialog does not drop the text unasked.
    const PromptButton answer = Prompter::instance().ask(
        PromptKind::Confirmation, PromptButton::Yes | PromptButton::No,
        QStringLiteral("Discard the changes to ") + baseName(m_path) + QStringLiteral("?"));
    m_discarded = answer == PromptButton::Yes;
    return m_discarded;
}

void TextEditorPane::preserveUnsaved()
{
    if (IsOpen() && isModified() && !m_discarded)
        EditorRecovery::write(m_path, encodedText());
}

void TextEditorPane::leave()
{
    m_editor->clear();
    m_editor->document()->setModified(false);
    m_path.clear();
    m_discarded = false;
    for (int panel : {0, 1, 2, 3})
        m_context.statusPanel(panel)->clear();
}

void TextEditorPane::close()
{
    if (mayLeave()) {
        m_discarded = true;
        m_context.switchMode(vmFileManager, m_path);
    }
}

void TextEditorPane::showStatus()
{
    const bool exists = pathExists(m_path);
    m_context.statusPanel(0)->setText(exists ? FileName::display(m_path) : QString());
    m_context.statusPanel(1)->setText(exists ? QStringLiteral(" Line: %1 Column: %2").arg(m_editor->caretLine()).arg(m_editor->caretColumn())
                                             : QString());
    m_context.statusPanel(3)->setText(exists ? (m_editor->InsertMode() ? QStringLiteral(" Insert") : QStringLiteral(" Overwrite"))
                                             : QString());
    m_context.statusPanel(2)->setText(QStringLiteral("EDITOR"));
}

void TextEditorPane::MenuClearAllTextClick()
{
    if (!Prompter::instance().confirm(QStringLiteral("Are you sure you want to clear all text?\r\nUndo will not recover this action!")))
        return;
    // setPlainText empties the undo history as well: nothing brings the text back.
    m_editor->setPlainText(QString());
    m_editor->document()->setModified(true);
}

void TextEditorPane::MenuSelectAllClick()
{
    if (m_editor->textCursor().hasSelection()) {
        QTextCursor caret = m_editor->textCursor();
        caret.clearSelection();
        m_editor->setTextCursor(caret);
    } else {
        m_editor->selectAll();
    }
}

void TextEditorPane::MenuFontClick()
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, m_editor->font(), m_context.window(), QString(),
                                            QFontDialog::MonospacedFonts);
    if (!ok)
        return;
    m_settings.textEditorFont = font.family();
    m_settings.textEditorSize = font.pointSize() > 0 ? font.pointSize() : m_settings.textEditorSize;
    m_editor->setFixedFont(font);
}

void TextEditorPane::printTo(QPrinter& printer, bool selectionOnly)
{
    std::optional<PrintLayout::Selection> selection;
    const QTextCursor caret = m_editor->textCursor();
    if (selectionOnly && caret.hasSelection()) {
        const QTextBlock first = m_editor->document()->findBlock(caret.selectionStart());
        const QTextBlock last = m_editor->document()->findBlock(caret.selectionEnd());
        selection = PrintLayout::Selection{first.blockNumber() + 1, caret.selectionStart() - first.position() + 1,
                                           last.blockNumber() + 1, caret.selectionEnd() - last.position()};
    }
    const QStringList lines = PrintLayout::lines(m_editor->documentLines(), TextEditorControl::kLeftMargin, selection);
    QTextDocument page;
    page.setDefaultFont(m_editor->font());
    page.setPlainText(lines.join(QLatin1Char('\n')));
    page.print(&printer);
}

void TextEditorPane::MenuPrintClick()
{
    QPrinter printer;
    QPrintDialog dialog(&printer, m_context.window());
    dialog.setOption(QAbstractPrintDialog::PrintSelection, m_editor->textCursor().hasSelection());
    if (dialog.exec() != QDialog::Accepted)
        return;
    printTo(printer, printer.printRange() == QPrinter::Selection);
}

void TextEditorPane::printerSetup()
{
    QPrinter printer;
    QPageSetupDialog dialog(&printer, m_context.window());
    dialog.exec();
}

void TextEditorPane::PopupTextEditorAutoIndentClick()
{
    m_settings.textEditorAutoIndent = !m_settings.textEditorAutoIndent;
    m_editor->setAutoIndent(m_settings.textEditorAutoIndent);
}

void TextEditorPane::PopupTextEditorBackupClick()
{
    m_settings.textEditorMakeBackup = !m_settings.textEditorMakeBackup;
}

void TextEditorPane::buildPopup()
{
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenuTextEditor"));
    auto add = [this](QMenu* menu, const char* name, const QString& caption, auto handler) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    QPlainTextEdit* e = m_editor;
    add(m_popup, "PopupTextEditorUndo", QStringLiteral("Undo"), [e] { e->undo(); });
    add(m_popup, "PopupTextEditorFind", QStringLiteral("Find"), [this] { Q_EMIT findRequested(); });
    add(m_popup, "PopupTextEditorReplace", QStringLiteral("Find + Replace"), [this] { Q_EMIT replaceRequested(); });
    m_popup->addSeparator();
    add(m_popup, "PopupTextEditorCut", QStringLiteral("Cut"), [e] { e->cut(); });
    add(m_popup, "PopupTextEditorCopy", QStringLiteral("Copy"), [e] { e->copy(); });
    add(m_popup, "PopupTextEditorPaste", QStringLiteral("Paste"), [e] { e->paste(); });
    add(m_popup, "PopupTextEditorDelete", QStringLiteral("Delete"), [e] { e->textCursor().removeSelectedText(); });
    add(m_popup, "PopupTextEditorSelectAll", QStringLiteral("Select All"), [this] { MenuSelectAllClick(); });
    add(m_popup, "PopupTextEditorClearAll", QStringLiteral("Clear All Text"), [this] { MenuClearAllTextClick(); });
    m_popup->addSeparator();
    add(m_popup, "PopupTextEditorMail", QStringLiteral("Send As Mail"), [this] { Q_EMIT mailRequested(); });
    add(m_popup, "PopupTextEditorNew", QStringLiteral("New Text File"), [this] { Q_EMIT newTextFileRequested(); });
    add(m_popup, "PopupTextEditorOpen", QStringLiteral("Open"), [this] { Q_EMIT openRequested(); });
    add(m_popup, "PopupTextEditorSave", QStringLiteral("Save"), [this] { MenuSaveClick(); });
    add(m_popup, "PopupTextEditorPrint", QStringLiteral("Print"), [this] { MenuPrintClick(); });
    add(m_popup, "PopupTextEditorPrinterSetup", QStringLiteral("Printer Setup"), [this] { printerSetup(); });
    QMenu* options = m_popup->addMenu(QStringLiteral("Options"));
    options->setObjectName(QStringLiteral("PopupTextEditorOptions"));
    add(options, "PopupTextEditorFont", QStringLiteral("Font"), [this] { MenuFontClick(); });
    add(options, "PopupTextEditorAutoIndent", QStringLiteral("Auto Indent"), [this] { PopupTextEditorAutoIndentClick(); })
        ->setCheckable(true);
    add(options, "PopupTextEditorBackup", QStringLiteral("Make Backup"), [this] { PopupTextEditorBackupClick(); })
        ->setCheckable(true);
    m_popup->addSeparator();
    add(m_popup, "PopupTextEditorClose", QStringLiteral("Close"), [this] { close(); });
    connect(m_popup, &QMenu::aboutToShow, this, &TextEditorPane::PopupMenuTextEditorPopup);
}

void TextEditorPane::PopupMenuTextEditorPopup()
{
    auto item = [this](const char* name) { return m_popup->findChild<QAction*>(QLatin1String(name)); };
    const bool selected = m_editor->textCursor().hasSelection();
    item("PopupTextEditorUndo")->setVisible(m_editor->document()->isUndoAvailable());
    for (const char* name : {"PopupTextEditorCut", "PopupTextEditorCopy", "PopupTextEditorDelete"})
        item(name)->setVisible(selected);
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    item("PopupTextEditorPaste")->setVisible(clip && clip->hasText());
    for (const char* name : {"PopupTextEditorClearAll", "PopupTextEditorMail", "PopupTextEditorPrint"})
        item(name)->setVisible(hasLines());
    item("PopupTextEditorSave")->setEnabled(isModified());
    QAction* indent = item("PopupTextEditorAutoIndent");
    indent->setChecked(m_settings.textEditorAutoIndent);
    indent->setText(m_settings.textEditorAutoIndent ? QStringLiteral("Auto Indent on") : QStringLiteral("Auto Indent off"));
    QAction* backup = item("PopupTextEditorBackup");
    backup->setChecked(m_settings.textEditorMakeBackup);
    backup->setText(m_settings.textEditorMakeBackup ? QStringLiteral("Make backup on") : QStringLiteral("Make backup off"));
}

void TextEditorPane::connectBand()
{
    auto on = [this](BandButton which, auto handler) { connect(m_context.button(which), &QToolButton::clicked, this, handler); };
    on(BandButton::EditorNew, [this] { Q_EMIT newTextFileRequested(); });
    on(BandButton::Save, [this] { MenuSaveClick(); });
    on(BandButton::EditorCut, [this] { m_editor->cut(); });
    on(BandButton::EditorCopy, [this] { m_editor->copy(); });
    on(BandButton::EditorPaste, [this] { m_editor->paste(); });
    on(BandButton::EditorFont, [this] { MenuFontClick(); });
    on(BandButton::TextEditorPrint, [this] { MenuPrintClick(); });
}
