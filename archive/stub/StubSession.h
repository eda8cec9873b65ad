#pragma once
// What both self-extractor stubs do: open the archive appended to the running program and
// extract all of it into a folder, asking through the given callbacks.

#include "TAbZipKit.h"

#include <QString>

class StubSession {
public:
    std::function<void(QString& password)> askPassword;
    std::function<void(QString& name, bool& confirm)> confirmOverwrite;

    // False with errorString() when the archive cannot be opened or an entry fails.
    bool run(const QString& selfPath, const QString& folder);
    QString errorString() const { return m_error; }
    // Entries extracted by the last run.
    int extracted() const { return m_extracted; }

private:
    QString m_error;
    int m_extracted = 0;
};
