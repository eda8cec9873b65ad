#pragma once
// A ProgramLauncher for tests: programs "on PATH" are the ones given to addProgram, nothing is
// ever started, every start is recorded; a start fails when failStarts is set.

#include "platform/Shell.h"

#include <QList>
#include <QMap>

struct LaunchRecord {
    QString program;
    QStringList arguments;
    QString workingFolder;
};

class FakeLauncher final : public ProgramLauncher {
public:
    FakeLauncher();
    ~FakeLauncher() override;

    // Makes name findable as /usr/bin/<name>.
    FakeLauncher& addProgram(const QString& name);
    void setFailStarts(const QString& error) { m_failure = error; }

    QString findProgram(const QString& name) override;
    Status start(const QString& program, const QStringList& arguments, const QString& workingFolder) override;

    const QList<LaunchRecord>& launches() const { return m_launches; }

private:
    QMap<QString, QString> m_programs;
    QList<LaunchRecord> m_launches;
    QString m_failure;
};
