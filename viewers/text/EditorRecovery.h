#pragma once
// Where the editor keeps unsaved text when the program ends without a chance to ask (the
// session ends): a file in the program's data folder
// ($XDG_DATA_HOME/QuorVel/Folvane3/Recovery), named after the edited file and the time.

#include "viewers/ViewerStatus.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class EditorRecovery {
public:
    static QString folder();
    // Writes bytes for the file editedPath (may be empty for a new text); the path written,
    // or empty with error set.
    static QString write(const QString& editedPath, const QByteArray& bytes, ViewerStatus* error = nullptr);
    // The recovery files the user has not been told of yet (at the start after the one that
    // wrote them). Each is renamed to end in ".txt" as it is returned: it is then told only
    // once, and opens in the editor as text; nothing is removed.
    static QStringList takeUntold();
};
