#pragma once
// Starts a program that outlives this one, with its arguments and working folder passed as
// the bytes FileName::encode gives: QProcess encodes them as locale text, which turns the
// escaped bytes of a name that is not UTF-8 into other bytes, so the child would open
// another file or none.

#include "platform/Status.h"

#include <QString>
#include <QStringList>

class DetachedProcess {
public:
    // Fails when the program could not be started (its working folder cannot be entered, it
    // is not there or not executable).
    static Status start(const QString& program, const QStringList& arguments, const QString& workingFolder);
};
