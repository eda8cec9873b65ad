#pragma once
// The file operation for tests of the commands: installs itself for its lifetime, records each
// request and answers with the next scripted result (success when none is scripted) without
// touching a file; with passThrough set it records and then runs the real engine.

#include "platform/FileOperation.h"

#include <QList>

#include <deque>

struct FileOperationRequest {
    FileOperationKind kind;
    QStringList sources;
    QStringList targets;
    FileOperationFlags flags;
};

class FakeFileOperations final : public FileOperationService {
public:
    FakeFileOperations();
    ~FakeFileOperations() override;

    FakeFileOperations& answer(const FileOperationResult& result);
    void setPassThrough(bool on) { m_passThrough = on; }
    const QList<FileOperationRequest>& requests() const { return m_requests; }

    FileOperationResult run(FileOperationKind kind, const QStringList& sources, const QStringList& targets,
                            FileOperationFlags flags) override;

private:
    FileOperationService* m_previous;
    std::deque<FileOperationResult> m_answers;
    QList<FileOperationRequest> m_requests;
    bool m_passThrough = false;
};
