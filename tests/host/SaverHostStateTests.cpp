#include "HostTestSupport.h"
#include "host/SaverHostState.h"

namespace {

// Taken during static initialisation, before any case has touched the record.
const SaverHostStateRecord AtProcessStart = SaverHostState;

TEST(SaverHostState, StartsWithNothingButTheThresholdAndTheNeverTick)
{
    EXPECT_EQ(AtProcessStart.instance, nullptr);
    EXPECT_EQ(AtProcessStart.saverWindow, nullptr);
    EXPECT_EQ(AtProcessStart.isPreview, 0u);
    EXPECT_EQ(AtProcessStart.closeAllowed, 0u);
    EXPECT_EQ(AtProcessStart.verifierActive, 0u);
    EXPECT_EQ(AtProcessStart.passwordLibrary, nullptr);
    EXPECT_EQ(AtProcessStart.verifyPassword, nullptr);
    EXPECT_EQ(AtProcessStart.imeLibrary, nullptr);
    EXPECT_EQ(AtProcessStart.associateContext, nullptr);
    EXPECT_EQ(AtProcessStart.savedInputContext, nullptr);
    EXPECT_EQ(AtProcessStart.wakeThreshold, 4u);
    EXPECT_EQ(AtProcessStart.lastVerifyTick, 0xFFFFFFFFu);
    EXPECT_EQ(AtProcessStart.cursorOrigin.x, 0);
    EXPECT_EQ(AtProcessStart.cursorOrigin.y, 0);
    EXPECT_EQ(MsgVerifyPassword, static_cast<UINT>(WM_APP));
}

TEST(SaverHostState, SaverRunningIsRaisedAndLoweredOnThePlatform)
{
    ASSERT_TRUE(SetSaverRunning(TRUE));
    EXPECT_EQ(SaverRunningState(), TRUE);
    ASSERT_TRUE(SetSaverRunning(FALSE));
    EXPECT_EQ(SaverRunningState(), FALSE);
}

}  // namespace
