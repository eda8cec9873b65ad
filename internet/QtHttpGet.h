#pragma once
// HttpGet through Qt Network: https, addresses with a user name, proxies, and whatever the
// plain client leaves alone. Redirects follow Qt's safe policy (never from https to http).

#include "internet/HttpGet.h"

#include <QPointer>

class QNetworkAccessManager;
class QNetworkReply;

class QtHttpGet : public HttpGet {
    Q_OBJECT
public:
    explicit QtHttpGet(QObject* parent = nullptr);
    ~QtHttpGet() override;

    void start(const QUrl& url, int stallTimeout) override;
    void abort() override;

private:
    void onReadyRead();
    void onFinished();
    // Emits responded once, before the first body byte or the end.
    void announce();

    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    bool m_announced = false;
};
