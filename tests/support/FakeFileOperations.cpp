#include "support/FakeFileOperations.h"

FakeFileOperations::FakeFileOperations() : m_previous(&FileOperationService::instance())
{
    FileOperationService::setInstance(this);
}

FakeFileOperations::~FakeFileOperations()
{
    FileOperationService::setInstance(m_previous);
}

FakeFileOperations& FakeFileOperations::answer(const FileOperationResult& result)
{
    m_answers.push_back(result);
    return *this;
}

FileOperationResult FakeFileOperations::run(FileOperationKind kind, const QStringList& sources, const QStringList& targets,
                                            FileOperationFlags flags)
{
    m_requests.append({kind, sources, targets, flags});
    if (m_passThrough)
        return m_previous->run(kind, sources, targets, flags);
    if (m_answers.empty()) {
        FileOperationResult done;
        done.succeeded = true;
        return done;
    }
    const FileOperationResult result = m_answers.front();
    m_answers.pop_front();
    return result;
}
