#pragma once
// A web pane in a window of its own, with a fake window context, the scripted prompter and
// pickers of TempHomeTest, and a local server with a few pages.

#include "LocalHttpServer.h"
#include "internet/ui/WebBrowserPane.h"
#include "support/FakeWindowContext.h"
#include "support/TempHome.h"

#include <QComboBox>
#include <QMainWindow>
#include <QSignalSpy>

#include <memory>

class WebPaneFixture : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        for (const char* page : {"a", "b", "c", "d"}) {
            server.addPage(QStringLiteral("/%1.html").arg(QLatin1String(page)),
                           QByteArray("<html><head><title>Page ") + QByteArray(page).toUpper() + "</title></head><body>" + page
                               + "</body></html>");
        }
        server.addPage(QStringLiteral("/frames.html"), "<html><body><iframe src=\"/inner.html\"></iframe></body></html>");
        server.addPage(QStringLiteral("/inner.html"), "<html><body>inner</body></html>");
        window = std::make_unique<QMainWindow>();
        context = std::make_unique<FakeWindowContext>(window.get());
        addressBox = new QComboBox(window.get());
        addressBox->setEditable(true);
        pane = new WebBrowserPane(*context, addressBox, window.get());
        window->setCentralWidget(pane);
        window->resize(800, 600);
        window->show();
        context->switchMode(vmWebBrowser);
    }

    void TearDown() override
    {
        window.reset();
        TempHomeTest::TearDown();
    }

    // Navigates as the program does and waits for the page; false when it did not load.
    bool load(const std::function<void()>& navigate)
    {
        QSignalSpy finished(pane, &WebBrowserPane::loadFinished);
        navigate();
        return finished.wait(30000) && finished.first().first().toBool();
    }
    bool open(const QString& page)
    {
        return load([this, page] { pane->NavigateTo(server.url(page)); });
    }
    QString url(const char* page) const { return server.url(QLatin1String(page)); }

    LocalHttpServer server;
    std::unique_ptr<QMainWindow> window;
    std::unique_ptr<FakeWindowContext> context;
    QComboBox* addressBox = nullptr;
    WebBrowserPane* pane = nullptr;
};
