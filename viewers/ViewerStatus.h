#pragma once
// How every operation of the viewers library reports its outcome: success, or a failure
// whose message names the format and what failed ("TIFF: the picture is empty"), ready to
// be shown. It converts to bool, so a caller that only needs to know writes
// `if (!WriteTiffFile(...))`.

#include <QString>

class ViewerStatus {
public:
    // Success.
    ViewerStatus() = default;
    static ViewerStatus failure(const QString& message)
    {
        ViewerStatus status;
        status.m_ok = false;
        status.m_message = message;
        return status;
    }

    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    // Empty on success.
    QString errorString() const { return m_message; }

private:
    bool m_ok = true;
    QString m_message;
};
