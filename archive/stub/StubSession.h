#pragma once
// What both self-extractor stubs do: open the archive appended to the running program and
// extract all of it into a folder, asking through the given callbacks.

#include "TAbZipKit.h"

#include <QString>

struct StubSession {
    std::function<void(QString& password)> askPassword;
    std::function<void(QString& name, bool& confirm)> confirmOverwrite;

    // Returns 0 on success; otherwise a message in error.
    int run(const QString& selfPath, const QString& folder, QString& error, int& extracted);
};
