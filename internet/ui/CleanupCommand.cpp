#include "internet/ui/CleanupCommand.h"

#include "browse/BrowseNavigator.h"
#include "internet/CleanupJob.h"
#include "internet/ui/TClean_Up_Dlg.h"
#include "internet/ui/WebBrowserPane.h"
#include "internet/ui/WebEngineModule.h"
#include "internet/ui/WebModuleLoader.h"
#include "platform/JobRunner.h"
#include "platform/Prompter.h"
#include "platform/ui/WindowContext.h"

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

CleanupCommand::CleanupCommand(WindowContext& context, WebBrowserPane& browser)
    : QObject(context.window())
    , m_context(context)
    , m_browser(browser)
    , m_menuCleanup(context.menu(MainMenu::Tools)->addAction(QStringLiteral("Clean up")))
{
    m_menuCleanup->setObjectName(QStringLiteral("MenuCleanup"));
    m_menuCleanup->setStatusTip(QStringLiteral("Clean recycle bin, internet history,"));
    connect(m_menuCleanup, &QAction::triggered, this, &CleanupCommand::MenuCleanupClick);
    connect(context.button(BandButton::WebCleanUp), &QToolButton::clicked, m_menuCleanup, &QAction::trigger);
}

TClean_Up_Dlg* CleanupCommand::dialog() const
{
    return m_dialog.data();
}

void CleanupCommand::MenuCleanupClick()
{
    if (m_running || !Prompter::instance().confirm(CleanupSteps::question()))
        return;
    RunCleanup();
}

void CleanupCommand::RunCleanup()
{
    if (m_running)
        return;
    m_running = true;
    m_failed = 0;
    m_dialog = new TClean_Up_Dlg(m_context.window());
    m_dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_dialog->show();
    runStep(0);
}

Status CleanupCommand::runStepNow(CleanupStep step)
{
    Status outcome;
    if (runInWindow(step, &outcome))
        return outcome;
    return CleanupSteps::run(step);
}

bool CleanupCommand::runInWindow(CleanupStep step, Status* outcome)
{
    // While the engine runs in this process it owns its profile's files: it clears them. Else
    // the steps delete the profile's folders on disk (CleanupSteps), without loading the
    // engine for it.
    WebEngineModule* engine = WebModuleLoader::loaded();
    switch (step) {
    case CleanupStep::InternetCache:
        return engine && engine->clearCache();
    case CleanupStep::InternetHistory:
        // The options dialog promises cookies with the history ("Cookies, History, ..."):
        // both go.
        return engine && engine->clearHistoryAndCookies();
    case CleanupStep::BrowserAddresses:
        if (m_context.currentMode() == vmWebBrowser)
            m_context.switchMode(vmFileManager, m_context.navigator().currentFolder());
        m_browser.clearAddresses();
        return true;
    default:
        *outcome = Status();
        return false;
    }
}

void CleanupCommand::runStep(int index)
{
    if (index == kCleanupStepCount) {
        m_running = false;
        Q_EMIT cleanupFinished(m_failed);
        // A step that failed keeps the window open with its reason; else it goes shortly.
        if (m_dialog && m_failed == 0)
            QTimer::singleShot(500, m_dialog.data(), &QWidget::close);
        return;
    }
    const auto step = CleanupStep(index);
    if (m_dialog)
        m_dialog->stepStarted(step);
    Status outcome;
    if (runInWindow(step, &outcome)) {
        // The window repaints before the next step starts.
        QTimer::singleShot(0, this, [this, index, outcome] { stepDone(index, outcome); });
        return;
    }
    // The runner owns its job: the job goes when the runner does (after its worker ended).
    auto* job = new CleanupJob(step);
    auto* runner = new JobRunner(*job, nullptr, this);
    connect(runner, &QObject::destroyed, [job] { delete job; });
    connect(runner, &JobRunner::finished, this, [this, index, job, runner] {
        const Status outcome = job->succeeded() ? Status() : Status::failure(QStringLiteral("Clean up"), job->errorString());
        runner->deleteLater();
        stepDone(index, outcome);
    });
    runner->start();
}

void CleanupCommand::stepDone(int index, const Status& outcome)
{
    if (!outcome)
        ++m_failed;
    if (m_dialog)
        m_dialog->stepFinished(CleanupStep(index), outcome);
    runStep(index + 1);
}
