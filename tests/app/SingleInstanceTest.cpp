// The single-instance check: with no other instance the start goes on without a question;
// with one running, that one is asked to come to the front and the user is asked whether
// to load again. No ends the start before anything is written.
#include "app/FolvaneApplication.h"
#include "app/SingleInstance.h"
#include "platform/FileName.h"
#include "platform/Registry.h"
#include "support/TempHome.h"

#include <QFile>
#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <mutex>
#include <memory>

namespace {

// A running instance: its SingleInstance serves on a thread of its own, as the other
// process's event loop would.
class RunningInstance {
public:
    RunningInstance()
    {
        m_context.moveToThread(&m_thread);
        m_thread.start();
        onServingThread([this] {
            m_instance = std::make_unique<SingleInstance>();
            QObject::connect(m_instance.get(), &SingleInstance::raiseRequested, [this] { ++raised; });
            QObject::connect(m_instance.get(), &SingleInstance::quitRequested, [this] { ++quits; });
            QObject::connect(m_instance.get(), &SingleInstance::openRequested, [this](const StartTarget& target) {
                const std::lock_guard lock(m_openedLock);
                m_opened << target;
            });
            listening = m_instance->listen();
        });
    }
    ~RunningInstance()
    {
        onServingThread([this] {
            m_instance.reset();
            m_context.moveToThread(QCoreApplication::instance()->thread());
        });
        m_thread.quit();
        m_thread.wait();
    }

    QList<StartTarget> opened()
    {
        const std::lock_guard lock(m_openedLock);
        return m_opened;
    }

    std::atomic<int> raised = 0;
    std::atomic<int> quits = 0;
    bool listening = false;

private:
    void onServingThread(const std::function<void()>& work)
    {
        QMetaObject::invokeMethod(&m_context, work, Qt::BlockingQueuedConnection);
    }

    QThread m_thread;
    QObject m_context;
    std::mutex m_openedLock;
    QList<StartTarget> m_opened;
    std::unique_ptr<SingleInstance> m_instance;
};

class SingleInstanceTest : public TempHomeTest {};

TEST_F(SingleInstanceTest, NoOtherInstanceMeansNoQuestion)
{
    EXPECT_TRUE(FolvaneApplication::instanceCheckPasses());
    EXPECT_TRUE(prompter().records().isEmpty());
}

struct AnswerCase {
    PromptButton answer;
    bool goesOn;
};

TEST_F(SingleInstanceTest, RunningInstanceIsRaisedAndTheUserDecides)
{
    for (const AnswerCase& c : {AnswerCase{PromptButton::No, false}, AnswerCase{PromptButton::Yes, true}}) {
        RunningInstance running;
        ASSERT_TRUE(running.listening);
        prompter().clear();
        prompter().answer(c.answer);
        EXPECT_EQ(FolvaneApplication::instanceCheckPasses(), c.goesOn);
        EXPECT_EQ(running.raised.load(), 1) << "the running window comes to the front first";
        ASSERT_EQ(prompter().records().size(), 1);
        const PromptRecord& asked = prompter().last();
        EXPECT_EQ(asked.kind, PromptKind::Confirmation);
        EXPECT_EQ(asked.buttons, PromptButton::Yes | PromptButton::No);
        EXPECT_EQ(asked.text, QStringLiteral("FolVane III is running, load again?"));
        EXPECT_FALSE(QFile::exists(Registry::userStorePath())) << "the check writes no settings";
    }
}

TEST_F(SingleInstanceTest, SecondInstanceDoesNotTakeOverAndAStaleSocketIsReplaced)
{
    {
        RunningInstance running;
        ASSERT_TRUE(running.listening);
        SingleInstance second;
        EXPECT_FALSE(second.listen()) << "a live instance keeps its channel";
        EXPECT_TRUE(SingleInstance::sendCommand("quit"));
        EXPECT_EQ(running.quits.load(), 1);
        EXPECT_FALSE(SingleInstance::sendCommand("reboot")) << "unknown commands are refused";
    }
    // A crashed instance leaves its socket file behind.
    QFile stale(SingleInstance::serverName());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    SingleInstance next;
    EXPECT_TRUE(next.listen());
}

TEST_F(SingleInstanceTest, APathReachesTheRunningInstanceByteForByte)
{
    RunningInstance running;
    ASSERT_TRUE(running.listening);
    // A name that is not UTF-8 and one with a line break survive the line-based channel.
    const QString odd = FileName::decode(QByteArray("caf\xe9\nlist.txt"));
    const StartTarget targets[] = {
        {QStringLiteral("/tmp/some folder"), QString(), QString()},
        {QStringLiteral("/tmp"), QStringLiteral("/tmp/") + odd, QString()},
    };
    for (const StartTarget& target : targets)
        EXPECT_TRUE(SingleInstance::sendCommand(SingleInstance::openCommand(target)));
    const QList<StartTarget> opened = running.opened();
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], targets[0]);
    EXPECT_EQ(opened[1], targets[1]);
    EXPECT_EQ(running.raised.load(), 0);
    EXPECT_FALSE(SingleInstance::sendCommand("open !!notbase64")) << "a damaged path is refused";
    EXPECT_FALSE(SingleInstance::sendCommand("open " + QByteArray("relative\0x").toBase64()));
    EXPECT_EQ(running.opened().size(), 2);
}

} // namespace
