#include "internet/web/PageSaver.h"

#include "platform/FileName.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"

#include <QRandomGenerator>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>

#include <cstdio>

PageSaver::PageSaver(QObject* parent)
    : QObject(parent)
{
}

void PageSaver::save(QWebEnginePage& page, const QString& target)
{
    if (!m_temporary.isEmpty()) // one save at a time
        return;
    m_target = target;
    m_temporary = PathText::folderOf(target) + QStringLiteral("/.") + PathText::nameOf(target)
        + QStringLiteral(".part") + QString::number(QRandomGenerator::global()->generate(), 16);
    connect(page.profile(), &QWebEngineProfile::downloadRequested, this, &PageSaver::takeRequest, Qt::UniqueConnection);
    page.save(m_temporary, QWebEngineDownloadRequest::SingleHtmlSaveFormat);
}

void PageSaver::takeRequest(QWebEngineDownloadRequest* request)
{
    if (!request->isSavePageDownload() || m_temporary.isEmpty()
        || request->downloadDirectory() + QLatin1Char('/') + request->downloadFileName() != m_temporary)
        return;
    disconnect(request->page()->profile(), &QWebEngineProfile::downloadRequested, this, &PageSaver::takeRequest);
    connect(request, &QWebEngineDownloadRequest::isFinishedChanged, this, [this, request] { finish(request); });
    if (request->state() == QWebEngineDownloadRequest::DownloadRequested)
        request->accept();
    if (request->isFinished())
        finish(request);
}

void PageSaver::finish(QWebEngineDownloadRequest* request)
{
    if (!request->isFinished() || m_temporary.isEmpty())
        return;
    const QString temporary = std::exchange(m_temporary, QString());
    const bool complete = request->state() == QWebEngineDownloadRequest::DownloadCompleted
        && std::rename(FileName::encode(temporary).constData(), FileName::encode(m_target).constData()) == 0;
    if (!complete)
        LocalFiles::remove(temporary);
    Q_EMIT saved(m_target, complete);
}
