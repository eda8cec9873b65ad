#include "archive/tools/ZipBatchFailure.h"

#include <QMutex>

namespace {

struct FailureText {
    QMutex mutex;
    QString text;
};

FailureText& lastFailure()
{
    static FailureText failure;
    return failure;
}

} // namespace

namespace ZipBatchFailure {

void set(const QString& text)
{
    FailureText& failure = lastFailure();
    QMutexLocker lock(&failure.mutex);
    failure.text = text;
}

void append(const QString& line)
{
    FailureText& failure = lastFailure();
    QMutexLocker lock(&failure.mutex);
    if (!failure.text.isEmpty())
        failure.text += QStringLiteral("\r\n");
    failure.text += line;
}

QString text()
{
    FailureText& failure = lastFailure();
    QMutexLocker lock(&failure.mutex);
    return failure.text;
}

} // namespace ZipBatchFailure
