// The progress window: absent on short and silent operations, shown modal on long ones, and
// its Cancel stops the operation between items without a partial file.
#include "platform/FileOperation.h"
#include "platform/TransferFaults.h"
#include "platform/ui/ProgressWindowWaiter.h"
#include "platform/ui/TransferProgressDialog.h"

#include "support/TempHome.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <atomic>

namespace {

class TransferProgressDialogTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        JobWaiter::setInstance(&m_waiter);
        for (const char* name : {"1", "2", "3"})
            makeFile(QStringLiteral("src/") + QLatin1String(name), QByteArray(1000, 'x'));
        m_src = home().root() + QStringLiteral("/src");
        m_dst = home().root() + QStringLiteral("/dst/");
    }
    void TearDown() override
    {
        JobWaiter::setInstance(nullptr);
        TransferFaults::clear();
        TempHomeTest::TearDown();
    }
    // Makes the item ending in name take the given time.
    void slowDown(const QString& name, int ms)
    {
        TransferFaults faults;
        faults.beforeItem = [name, ms](const QString& item) {
            if (item.endsWith(QLatin1Char('/') + name))
                QThread::msleep(ms);
        };
        TransferFaults::set(faults);
    }
    // Watches for the progress window while the operation runs; clicks Cancel when asked.
    void watch(bool clickCancel)
    {
        auto* timer = new QTimer(qApp);
        QObject::connect(timer, &QTimer::timeout, timer, [this, timer, clickCancel] {
            auto* dialog = qobject_cast<TransferProgressDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            m_seen = true;
            if (clickCancel)
                dialog->findChild<QPushButton*>(QStringLiteral("ButtonCancel"))->click();
            timer->deleteLater();
        });
        timer->start(20);
    }

    ProgressWindowWaiter m_waiter;
    QString m_src;
    QString m_dst;
    bool m_seen = false;
};

TEST_F(TransferProgressDialogTest, ShortOperationShowsNoWindow)
{
    watch(false);
    EXPECT_TRUE(RunTransfer(FileOperationKind::Copy, {m_src}, {m_dst}));
    EXPECT_FALSE(m_seen);
    EXPECT_EQ(QDir(m_dst + QStringLiteral("src")).count(), 5u);
}

TEST_F(TransferProgressDialogTest, SilentLongOperationShowsNoWindow)
{
    slowDown(QStringLiteral("2"), 900);
    watch(false);
    EXPECT_TRUE(RunTransfer(FileOperationKind::Copy, {m_src}, {m_dst}, FileOperationFlag::AllowUndo | FileOperationFlag::Silent));
    EXPECT_FALSE(m_seen);
}

TEST_F(TransferProgressDialogTest, CancelInTheWindowStopsBetweenItems)
{
    slowDown(QStringLiteral("2"), 1200);
    watch(true);
    const FileOperationResult result = RunFileOperation(FileOperationKind::Copy, {m_src}, {m_dst});
    EXPECT_TRUE(m_seen);
    EXPECT_TRUE(result.aborted);
    EXPECT_FALSE(result.ok());
    // Item 2 was running when Cancel came: it is not left half-made, and 3 never started.
    EXPECT_TRUE(QFileInfo::exists(m_dst + QStringLiteral("src/1")));
    EXPECT_FALSE(QFileInfo::exists(m_dst + QStringLiteral("src/2")));
    EXPECT_FALSE(QFileInfo::exists(m_dst + QStringLiteral("src/3")));
    EXPECT_EQ(QDir(m_dst + QStringLiteral("src")).count(), 3u);
}

} // namespace
