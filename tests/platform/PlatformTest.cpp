// The platform the program talks to is the one installed, never a default.
#include <gtest/gtest.h>

#include "platform/FakePlatform.h"
#include "platform/Platform.h"

TEST(CurrentPlatform, IsTheInstalledOneAndNoneIsAFaultNotAFallback)
{
    FakePlatform outer;
    FakePlatform inner;
    {
        ScopedPlatform a(outer);
        EXPECT_EQ(&CurrentPlatform(), &outer);
        {
            ScopedPlatform b(inner);
            EXPECT_EQ(&CurrentPlatform(), &inner);
        }
        EXPECT_EQ(&CurrentPlatform(), &outer);
    }
    EXPECT_EQ(InstallPlatform(nullptr), nullptr);
    EXPECT_DEATH(CurrentPlatform(), "no platform installed");
}
