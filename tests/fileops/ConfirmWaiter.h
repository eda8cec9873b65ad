#pragma once
// Runs a step on the confirmation dialog once it shows, from inside its modal loop.

#include "fileops/ui/TConfrim_Dlg.h"

#include <QApplication>
#include <QTimer>

#include <functional>

inline void whenConfirmShows(std::function<void(TConfrim_Dlg&)> fn)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, fn] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<TConfrim_Dlg*>(widget);
            if (dialog && dialog->isVisible()) {
                timer->stop();
                timer->deleteLater();
                fn(*dialog);
                return;
            }
        }
    });
    timer->start();
}
