#pragma once
// The commands that choose a pane, a program or a dialog for a file: View (which also
// closes a pane), Edit as text, Open with the open dialog, World Wide Web, the
// next/previous spinner and its arrow keys, the Run dialog for program files and the
// command-prompt button. The choice itself is ChooseView (viewers/ViewDecision), shared
// with `fvtool viewmode`; this class gathers the selection and carries the choice out.

#include "viewers/ViewDecision.h"

#include <QObject>
#include <QString>

struct MainWindowControls;
struct ShellExecuteResult;
class MainWindowModes;
class TFormMainFolvane3;

class ViewCommands : public QObject {
    Q_OBJECT
public:
    ViewCommands(TFormMainFolvane3* window, MainWindowControls& c, MainWindowModes& modes);

    void MenuViewFileClick();
    void ButtonTextEditorClick();
    void MenuOpenClick();
    void ButtonWebClick();
    // direction: -1 the left arrow (previous), +1 the right arrow (next).
    void ToolBarViewSpinner(int direction);
    void ButtonC_PromptClick();

    // Asks for the parameters of the program file and starts it (never through a shell).
    void runProgram(const QString& path);
    // Asks the desktop to carry out verb on file; a failure is shown ("Can not <verb> file  ...").
    bool ShellExecuteOrReport(const QString& verb, const QString& file);

    // The open dialog's filters, in the dialog's order (1-based indexes in the menus' rule).
    static QStringList openFilters();

private:
    void addMenuItems();
    // The list's first selected item; selects and focuses the first item when none is.
    QString selectedOrFirst();
    void carryOut(const ViewChoice& choice);
    void openWithHandler(const QString& path, const QString& handler);
    void openChosenFile(const QString& path);
    QString openDialogFolder(bool inFileManager) const;
    bool ownPanes() const;

    TFormMainFolvane3* m_window;
    MainWindowControls& m_c;
    MainWindowModes& m_modes;
};
