#include "viewers/ui/ViewerCommands.h"

#include "platform/Prompter.h"
#include "platform/ui/WindowContext.h"
#include "viewers/text/TextReplacer.h"
#include "viewers/ui/FileViewerControl.h"
#include "viewers/ui/FileViewerPane.h"
#include "viewers/ui/TFindDlg.h"
#include "viewers/ui/TReplDlg.h"
#include "viewers/ui/TextEditorControl.h"
#include "platform/ui/FileAction.h"
#include "viewers/ui/TextEditorPane.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QToolButton>
#include <QMimeData>
#include <QTimer>

namespace {

QString notFoundToEnd(const QString& text)
{
    return QStringLiteral("Search string '") + text + QStringLiteral("' not found from here to end.");
}

QString notFound(const QString& text)
{
    return QStringLiteral("Search string '") + text + QStringLiteral("' not found");
}

} // namespace

ViewerCommands::ViewerCommands(WindowContext& context, FileViewerPane& viewer, TextEditorPane& editor)
    : QObject(context.window())
    , m_context(context)
    , m_viewer(viewer)
    , m_editor(editor)
    , m_run([](QDialog& dialog) { return dialog.exec(); })
{
    // Found by name by the file search, which gives Find its meaning in the other modes.
    setObjectName(QStringLiteral("ViewerCommands"));
    QMenu* edit = context.menu(MainMenu::Edit);
    QAction* undo = add(nullptr, "MenuUnDo", QStringLiteral("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), &ViewerCommands::MenuUnDoClick);
    edit->insertAction(edit->actions().value(0), undo);
    connect(context.button(BandButton::UnDo), &QToolButton::clicked, undo, &QAction::trigger);
    add(edit, "MenuFont", QStringLiteral("Font"), {}, &ViewerCommands::MenuFontClick);
    add(edit, "MenuClearAllText", QStringLiteral("Clear All Text"), {}, &ViewerCommands::MenuClearAllTextClick);
    connectShared("MenuCut", &ViewerCommands::MenuCutClick);
    connectShared("MenuCopy", &ViewerCommands::MenuCopyClick);
    connectShared("MenuPaste", &ViewerCommands::MenuPasteClick);
    connectShared("MenuDelete", &ViewerCommands::MenuDeleteClick);
    connectShared("MenuSelectAll", &ViewerCommands::MenuSelectAllClick);
    connect(edit, &QMenu::aboutToShow, this, &ViewerCommands::MenuEditClick);

    QMenu* file = context.menu(MainMenu::File);
    QAction* save = add(nullptr, "MenuSave", QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S), &ViewerCommands::MenuSaveClick);
    file->insertAction(file->actions().value(1), save);
    save->setVisible(false);
    connect(file, &QMenu::aboutToShow, this, &ViewerCommands::MenuFileClick);

    QMenu* search = context.menu(MainMenu::Search);
    add(search, "MenuFind", QStringLiteral("Find"), QKeySequence(Qt::CTRL | Qt::Key_F), &ViewerCommands::MenuFindClick);
    add(search, "MenuReplace", QStringLiteral("Replace"), QKeySequence(Qt::CTRL | Qt::Key_H), &ViewerCommands::MenuReplaceClick);
    connect(search, &QMenu::aboutToShow, this, &ViewerCommands::MenuSearchClick);
    connectPanes();
}

QAction* ViewerCommands::add(QMenu* menu, const char* name, const QString& caption, const QKeySequence& key,
                             void (ViewerCommands::*handler)())
{
    auto* item = new QAction(caption, menu ? static_cast<QObject*>(menu) : this);
    item->setObjectName(QLatin1String(name));
    if (menu)
        menu->addAction(item);
    if (!key.isEmpty()) {
        item->setShortcut(key);
        item->setShortcutContext(Qt::WindowShortcut);
        m_context.window()->addAction(item);
    }
    connect(item, &QAction::triggered, this, handler);
    return item;
}

QAction* ViewerCommands::action(const char* name) const
{
    return m_context.window()->findChild<QAction*>(QLatin1String(name));
}

void ViewerCommands::connectShared(const char* name, void (ViewerCommands::*handler)())
{
    if (QAction* item = action(name))
        connect(item, &QAction::triggered, this, handler);
}

void ViewerCommands::connectPanes()
{
    connect(&m_viewer, &FileViewerPane::findRequested, this, &ViewerCommands::MenuFindClick);
    connect(&m_viewer, &FileViewerPane::deleteRequested, this, &ViewerCommands::MenuDeleteClick);
    connect(&m_viewer, &FileViewerPane::sendCopyRequested, this,
            [this] { triggerWindowAction("MenuCopyTo", m_viewer.viewer()->FileName()); });
    connect(&m_editor, &TextEditorPane::findRequested, this, &ViewerCommands::MenuFindClick);
    connect(&m_editor, &TextEditorPane::replaceRequested, this, &ViewerCommands::MenuReplaceClick);
    connect(&m_editor, &TextEditorPane::newTextFileRequested, this, [this] {
        // The text in the editor is settled (saved or dropped) before the new file opens.
        if (m_editor.mayLeave())
            triggerWindowAction("MenuNewTextFile");
    });
    connect(&m_editor, &TextEditorPane::openRequested, this, [this] { triggerWindowAction("MenuOpen"); });
    connect(&m_editor, &TextEditorPane::mailRequested, this, [this] { triggerWindowAction("MenuMail"); });
}

void ViewerCommands::triggerWindowAction(const char* name, const QString& file)
{
    if (QAction* item = action(name))
        FileAction::trigger(item, file);
}

bool ViewerCommands::inViewer() const
{
    return m_context.currentMode() == vmFileViewer;
}

bool ViewerCommands::inEditor() const
{
    return m_context.currentMode() == vmTextEditor;
}

void ViewerCommands::MenuUnDoClick()
{
    if (inEditor())
        m_editor.editor()->undo();
}

void ViewerCommands::MenuCutClick()
{
    if (inEditor())
        m_editor.editor()->cut();
}

void ViewerCommands::MenuCopyClick()
{
    if (inViewer())
        m_viewer.MenuCopyClick();
    else if (inEditor())
        m_editor.editor()->copy();
}

void ViewerCommands::MenuPasteClick()
{
    if (inEditor())
        m_editor.editor()->paste();
}

void ViewerCommands::MenuDeleteClick()
{
    if (inEditor()) {
        m_editor.editor()->textCursor().removeSelectedText();
    } else if (inViewer()) {
        // Back in the file manager, Delete sends the viewed file to the Trash and re-reads the list.
        const QString file = m_viewer.viewer()->FileName();
        m_context.switchMode(vmFileManager, file);
        triggerWindowAction("MenuDelete", file);
    }
}

void ViewerCommands::MenuSelectAllClick()
{
    if (inViewer())
        m_viewer.MenuSelectAllClick();
    else if (inEditor())
        m_editor.MenuSelectAllClick();
}

void ViewerCommands::MenuFontClick()
{
    if (inViewer())
        m_viewer.MenuFontClick();
    else if (inEditor())
        m_editor.MenuFontClick();
}

void ViewerCommands::MenuClearAllTextClick()
{
    if (inEditor())
        m_editor.MenuClearAllTextClick();
}

void ViewerCommands::MenuSaveClick()
{
    if (inEditor() && m_editor.IsOpen())
        m_editor.MenuSaveClick();
}

void ViewerCommands::MenuFileClick()
{
    action("MenuSave")->setVisible(inEditor() && m_editor.isModified());
}

void ViewerCommands::MenuSearchClick()
{
    action("MenuReplace")->setVisible(inEditor());
}

void ViewerCommands::MenuEditClick()
{
    const bool viewer = inViewer();
    const bool editor = inEditor();
    action("MenuUnDo")->setVisible(editor && m_editor.editor()->document()->isUndoAvailable());
    action("MenuFont")->setVisible(viewer || editor);
    action("MenuClearAllText")->setVisible(editor && m_editor.hasLines());
    if (QAction* rename = action("MenuRename"))
        rename->setVisible(m_context.currentMode() == vmFileManager);
    QAction* cut = action("MenuCut");
    QAction* copy = action("MenuCopy");
    QAction* paste = action("MenuPaste");
    QAction* del = action("MenuDelete");
    QAction* selectAll = action("MenuSelectAll");
    if (!cut || !copy || !paste || !del || !selectAll)
        return;
    if (!viewer && !editor) {
        if (std::exchange(m_editMenuTouched, false)) {
            for (QAction* item : {cut, copy, paste, del, selectAll})
                item->setEnabled(true);
            selectAll->setText(QStringLiteral("Select &All"));
        }
        return;
    }
    m_editMenuTouched = true;
    if (viewer) {
        const bool selected = m_viewer.viewer()->hasSelection();
        selectAll->setEnabled(m_viewer.hasLines());
        selectAll->setText(selected ? QStringLiteral("Un-Select All") : QStringLiteral("Select &All"));
        cut->setEnabled(false);
        copy->setEnabled(selected);
        paste->setEnabled(false);
        del->setEnabled(m_viewer.viewer()->IsOpen());
        return;
    }
    const bool selected = m_editor.editor()->textCursor().hasSelection();
    selectAll->setEnabled(m_editor.hasLines());
    selectAll->setText(selected ? QStringLiteral("Un-Select All") : QStringLiteral("Select &All"));
    for (QAction* item : {cut, copy, del})
        item->setEnabled(selected);
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    paste->setEnabled(clip && clip->hasText());
}

bool ViewerCommands::askFind(QString& text, SearchOptions& options)
{
    for (;;) {
        TFindDlg dialog(m_context.settingsFile(), m_context.historyIndex(HistoryIndex::FindStr), m_context.window());
        if (m_run(dialog) != QDialog::Accepted)
            return false;
        text = dialog.text();
        options = dialog.options();
        // An empty text would match nowhere useful: the dialog asks again.
        if (!text.isEmpty())
            return true;
    }
}

void ViewerCommands::MenuFindClick()
{
    if (inViewer() && m_viewer.viewer()->IsOpen())
        viewerFindLoop();
    else if (inEditor() && m_editor.IsOpen())
        editorFindLoop();
}

void ViewerCommands::viewerFindLoop()
{
    QString text;
    SearchOptions options;
    if (!askFind(text, options))
        return;
    FileViewerControl* viewer = m_viewer.viewer();
    connect(viewer, &FileViewerControl::searchDone, this, [this, viewer, text](bool found) {
        if (!found) {
            Prompter::instance().information(notFoundToEnd(text));
            viewer->setCaret(0);
        }
        // The dialog shows again once the search's signal has returned.
        QTimer::singleShot(0, this, [this] {
            if (inViewer() && m_viewer.viewer()->IsOpen())
                viewerFindLoop();
        });
    }, Qt::SingleShotConnection);
    m_viewer.startFind(text, options & SearchOption::MatchCase);
}

void ViewerCommands::editorFindLoop()
{
    QString text;
    SearchOptions options;
    while (askFind(text, options)) {
        TextEditorControl* editor = m_editor.editor();
        QTextCursor caret = editor->textCursor();
        if (TextReplacer::find(caret, text, options) < 0) {
            Prompter::instance().information(notFoundToEnd(text));
            caret.movePosition(QTextCursor::Start);
        }
        editor->setTextCursor(caret);
    }
}

void ViewerCommands::MenuReplaceClick()
{
    if (!inEditor() || !m_editor.IsOpen())
        return;
    while (replaceRound()) {
    }
}

bool ViewerCommands::replaceRound()
{
    TReplDlg dialog(m_context.settingsFile(), m_context.historyIndex(HistoryIndex::FindStr),
                    m_context.historyIndex(HistoryIndex::ReplStr), m_context.window());
    const int result = m_run(dialog);
    if (result != QDialog::Accepted && result != TReplDlg::kReplaceAll)
        return false;
    const QString text = dialog.findText();
    if (text.isEmpty())
        return true;
    const SearchOptions options = dialog.options(result);
    if (options & SearchOption::ReplaceAll) {
        QTextCursor caret = m_editor.editor()->textCursor();
        if (TextReplacer::replaceAll(caret, text, dialog.replaceText(), options) == 0)
            Prompter::instance().information(notFound(text));
        m_editor.editor()->setTextCursor(caret);
        return true;
    }
    replaceEach(text, dialog.replaceText(), options);
    return true;
}

void ViewerCommands::replaceEach(const QString& text, const QString& with, SearchOptions options)
{
    TextEditorControl* editor = m_editor.editor();
    TextReplacer replacer;
    QTextCursor caret = editor->textCursor();
    int answer = replacer.replace(caret, text, with, options);
    editor->setTextCursor(caret);
    bool cancelled = false;
    while (answer != -1 && editor->textCursor().hasSelection()) {
        editor->ensureCursorVisible();
        const PromptButton reply = Prompter::instance().ask(PromptKind::Confirmation,
                                                            PromptButton::Yes | PromptButton::No | PromptButton::Cancel,
                                                            QStringLiteral("Replace?"));
        caret = editor->textCursor();
        if (reply != PromptButton::Yes) {
            // No and Cancel leave this occurrence: the search goes on past it.
            const int to = options & SearchOption::Backward ? caret.selectionStart() : caret.selectionEnd();
            caret.setPosition(to);
            if (reply == PromptButton::Cancel) {
                cancelled = true;
                editor->setTextCursor(caret);
                break;
            }
        }
        answer = replacer.replace(caret, text, with, options);
        editor->setTextCursor(caret);
    }
    if (answer == -1 && !cancelled)
        Prompter::instance().information(notFound(text));
}
