#include "platform/ui/ProgressWindowWaiter.h"

#include "platform/ui/TransferProgressDialog.h"

#include <QApplication>

void ProgressWindowWaiter::wait(JobRunner& runner, const QString& title)
{
    // Short work ends inside the delay; the window's own modal loop takes over after it.
    if (waitInLoop(runner, title.isEmpty() ? -1 : kShowDelayMs))
        return;
    TransferProgressDialog window(runner, title, QApplication::activeWindow());
    window.exec();
}
