#pragma once
// Saves the page on show as one HTML file through a temporary file beside the target: the
// engine writes the temporary file, and only a complete one is renamed over the target
// (which the user agreed to replace). A failed save leaves the target as it was.

#include <QObject>

class QWebEngineDownloadRequest;
class QWebEnginePage;

class PageSaver : public QObject {
    Q_OBJECT
public:
    explicit PageSaver(QObject* parent = nullptr);

    void save(QWebEnginePage& page, const QString& target);

Q_SIGNALS:
    // The save ended; ok false: target is unchanged.
    void saved(const QString& target, bool ok);

private:
    void takeRequest(QWebEngineDownloadRequest* request);
    void finish(QWebEngineDownloadRequest* request);

    QString m_target;
    QString m_temporary;
};
