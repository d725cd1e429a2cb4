// The HTTP client's real minimum rate against a server that trickles a large
// body: a test of its own, as it takes half a minute, run beside the others.
#include <gtest/gtest.h>

#include "NBTCPClient.h"
#include "TestRelease.h"

namespace {

class QuietClient : public CNBTCPClient
{
public:
    void OnProgress(int, int) override {}
};

} // namespace

TEST(SlowServer, ABodyAtAByteEveryTwoSecondsFailsWithinAMinute)
{
    // 50 MB at 4 KiB a second would be a deadline of three and a half hours.
    TestRelease release("slow");
    release.AddBehaviour("big.bin drip 50000000 2 90");
    QuietClient client;
    ASSERT_EQ(client.Init(6), 1);  // the launcher's own time-out
    const DWORD start = GetTickCount();
    EXPECT_EQ(client.HTTPGetFile(release.Url("big.bin").c_str(), release.InstallDir().c_str(), nullptr, nullptr, 1),
              kHttpNetFail);
    const DWORD took = GetTickCount() - start;
    EXPECT_EQ(client.GetLastErrorCode(), WSAETIMEDOUT);
    EXPECT_LT(took, 60000u);
    EXPECT_FALSE(PathExists(release.InstallDir() + "/big.bin"));
    EXPECT_TRUE(FindFiles(release.InstallDir(), ".orvobak").empty());
}
