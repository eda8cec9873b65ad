#pragma once
// Finds and loads the web module (folvane3-web.so) once, on demand: beside the program (the
// build's bin folder and the installed program folder alike), else in the build folder it was
// built in. The program itself never links the engine, so its start does not pay for it.

#include <QString>
#include <QStringList>

class WebEngineModule;

class WebModuleLoader {
public:
    static const char* const kFileName;

    // The module, loaded now when it is not yet; nullptr when it cannot be (errorString says why).
    static WebEngineModule* load();
    // The module when it was loaded in this run, else nullptr (never loads it).
    static WebEngineModule* loaded();
    // Why the last load failed, as a sentence for the user.
    static QString errorString();
    // Looks for the module in these folders only, in order, from the next load on (tests
    // point it at a folder without one); an empty list restores the program's own places.
    static void setSearchFolders(const QStringList& folders);
};
