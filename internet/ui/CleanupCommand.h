#pragma once
// The Clean up command (Tools > "Clean up", the web band's Clean up button): after the
// question, the Cleanup window shows the six steps as they run. The steps that touch
// disks (the Trash, the temporary folder, the recent documents, the web pane's folders
// while its engine is not running) run one after another as jobs off the UI thread, so the
// window repaints between them; the web pane's own steps run here.

#include "internet/CleanupSteps.h"

#include <QObject>
#include <QPointer>


class QAction;
class TClean_Up_Dlg;
class WebBrowserPane;
class WindowContext;

class CleanupCommand : public QObject {
    Q_OBJECT
public:
    CleanupCommand(WindowContext& context, WebBrowserPane& browser);

    QAction* menuAction() const { return m_menuCleanup; }
    void MenuCleanupClick();
    // The six steps without the question (the options dialog's "All" calls this too).
    void RunCleanup();
    // One step at once, in this thread (the options dialog's single clean-up buttons).
    Status runStepNow(CleanupStep step);
    bool isRunning() const { return m_running; }
    TClean_Up_Dlg* dialog() const;

Q_SIGNALS:
    // The run ended; failed: the steps that were not done.
    void cleanupFinished(int failed);

private:
    void runStep(int index);
    void stepDone(int index, const Status& outcome);
    // The web pane's step done in this thread, or nothing when the step is a job's.
    bool runInWindow(CleanupStep step, Status* outcome);

    WindowContext& m_context;
    WebBrowserPane& m_browser;
    QAction* m_menuCleanup;
    QPointer<TClean_Up_Dlg> m_dialog;
    bool m_running = false;
    int m_failed = 0;
};
