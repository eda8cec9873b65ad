#pragma once
// How every operation of the platform library reports its outcome: a Status (success, or a
// failure that names the component that failed and carries the message for the user), or a
// Result<T> for an operation that produces a value. errorString() is the text the user sees,
// exactly as the component worded it ("Permission denied", "The specified file was not
// found."); describe() prefixes the component for logs and diagnostics ("Trash: Permission
// denied"). Both convert to bool, so a caller that only needs to know writes
// `if (!Trash::moveToTrash(path))`.
//
// Two kinds of object keep their failure on themselves instead, because it arises between
// calls: a Job (its first error, set on a worker and read by the UI) and a device that keeps
// running (MediaPlayer, CdAudioDevice: a play fails later, through a notice); their
// errorString() is that last failure. Thin system-call wrappers (LocalFiles, DirStream's and
// FileDescriptor's error()) also keep errno, since their callers branch on the code (EEXIST,
// EXDEV) before any text is made.

#include <QString>

#include <utility>

class Status {
public:
    // Success.
    Status() = default;
    // component: the platform service that failed ("Trash", "Shell", "Session"...).
    static Status failure(const QString& component, const QString& message)
    {
        Status status;
        status.m_ok = false;
        status.m_component = component;
        status.m_message = message;
        return status;
    }

    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    // Empty on success.
    const QString& component() const { return m_component; }
    const QString& errorString() const { return m_message; }
    // "<component>: <message>", empty on success.
    QString describe() const { return m_ok ? QString() : m_component + QStringLiteral(": ") + m_message; }

private:
    bool m_ok = true;
    QString m_component;
    QString m_message;
};

// A value, or the failure that kept it from being made. value() of a failed result is T's
// default (an empty string, false, an empty struct), never undefined.
template <typename T>
class Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Status failure) : m_status(std::move(failure)) {}

    bool ok() const { return m_status.ok(); }
    explicit operator bool() const { return m_status.ok(); }
    const Status& status() const { return m_status; }
    const QString& errorString() const { return m_status.errorString(); }

    const T& value() const { return m_value; }
    const T& operator*() const { return m_value; }
    const T* operator->() const { return &m_value; }

private:
    T m_value{};
    Status m_status;
};
