#pragma once
// Folder picker, open and save dialogs go through Pickers, so that tests can answer them.
// Every function returns an empty result when the user cancels.

#include <QString>
#include <QStringList>

class Pickers {
public:
    virtual ~Pickers();

    virtual QString pickFolder(const QString& caption, const QString& startFolder) = 0;
    virtual QString openFile(const QString& caption, const QString& folder, const QString& filter) = 0;
    virtual QStringList openFiles(const QString& caption, const QString& folder, const QString& filter) = 0;
    virtual QString saveFile(const QString& caption, const QString& suggestedPath, const QString& filter) = 0;

    // The process-wide pickers; until the program installs its dialogs, every pick is cancelled.
    static Pickers& instance();
    static void setInstance(Pickers* pickers);
};
