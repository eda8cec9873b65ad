#pragma once
// The text editor pane (mode vmTextEditor): the control TextEditor, its popup
// PopupMenuTextEditor, its band ToolBarTextEditor's buttons, the status line and the
// editor's stored values (subkey "Editor").
//
// A file opens with the encoding and line-end style it has (TextFileCodec) and saves back
// in them through TextFileSaver (temporary file, flush, rename; ".BAK" backup when Make
// Backup is on). Leaving with unsaved text offers the save dialog; cancelling it asks
// whether to discard the changes, and No keeps the editor shown.

#include "platform/ui/TextPaneState.h"
#include "platform/ui/ViewPane.h"
#include "viewers/text/TextFileCodec.h"

#include <QWidget>

class QMenu;
class QPrinter;
class TextEditorControl;
class WindowContext;
struct EditorSettings;

class TextEditorPane : public QWidget, public ViewPane, public TextPaneState {
    Q_OBJECT
public:
    TextEditorPane(WindowContext& context, EditorSettings& settings, QWidget* parent = nullptr);

    TextEditorControl* editor() const { return m_editor; }
    QMenu* PopupMenuTextEditor() const { return m_popup; }
    QString FileName() const { return m_path; }
    bool IsOpen() const { return !m_path.isEmpty(); }
    bool isModified() const override;
    bool hasLines() const;
    TextFileCodec::Format format() const { return m_format; }

    TViewMode mode() const override { return vmTextEditor; }
    QWidget* widget() const override { return const_cast<TextEditorPane*>(this); }
    int toolBand() const override { return bandTextEditor; }
    PaneChromes chrome() const override { return {}; }
    QString settingsGroup() const override;
    void enter(const QString& path) override;
    bool mayLeave() override;
    void preserveUnsaved() override;
    void leave() override;
    void stepFile(int) override {}

    // What the idle handler enables the editor's commands by.
    bool hasSelection() const override;
    bool canUndo() const override;
    int lineCount() const override;

    // The stored values applied to the editor (at start and after the options dialog).
    void applySettings();
    // Loads path; false after telling the user why it cannot be read.
    bool openFile(const QString& path);
    // Writes the text to path in the file's own format; false after telling the user why.
    bool saveTo(const QString& path);

    // The editor's commands (menus, popup and band buttons run these).
    void MenuSaveClick();
    // The save dialog with the editor's name; the name saved under, empty when cancelled.
    QString saveAs();
    void MenuClearAllTextClick();
    void MenuSelectAllClick();
    void MenuFontClick();
    void MenuPrintClick();
    void printerSetup();
    // Prints every line, or the selected lines, to printer in the editor's font.
    void printTo(QPrinter& printer, bool selectionOnly);
    void PopupTextEditorAutoIndentClick();
    void PopupTextEditorBackupClick();
    // Closes the editor as View does: back to the file manager, once the text is settled.
    void close();

Q_SIGNALS:
    void findRequested();
    void replaceRequested();
    void newTextFileRequested();
    void openRequested();
    void mailRequested();

private:
    void buildPopup();
    void PopupMenuTextEditorPopup();
    void connectBand();
    void showStatus();
    QByteArray encodedText();

    WindowContext& m_context;
    EditorSettings& m_settings;
    TextEditorControl* m_editor;
    QMenu* m_popup = nullptr;
    QString m_path;
    TextFileCodec::Format m_format;
    bool m_discarded = false; // the user chose to drop the changes: leaving asks no more
};
