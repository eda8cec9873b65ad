// Session commands in tests go to a fake, always: a test that forgets to install one must not
// be able to log off or power off the machine it runs on.
#include "platform/Session.h"

#include "support/FakeSession.h"

#include <gtest/gtest.h>

namespace {

TEST(SessionTest, TestsNeverReachTheRealService)
{
    EXPECT_NE(dynamic_cast<FakeSession*>(&SessionService::instance()), nullptr);
    SessionService* outer = &SessionService::instance();
    {
        FakeSession mine;
        mine.setOffered({SessionAction::Lock});
        EXPECT_FALSE(SessionService::instance().perform(SessionAction::ShutDown));
        EXPECT_TRUE(SessionService::instance().perform(SessionAction::Lock));
        EXPECT_EQ(mine.performed(), (QList<SessionAction>{SessionAction::ShutDown, SessionAction::Lock}));
    }
    EXPECT_EQ(&SessionService::instance(), outer);
}

} // namespace
