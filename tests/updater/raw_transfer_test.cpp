// Raw file transfers over a listening socket made in the test itself.
#include <gtest/gtest.h>

#include <thread>

#include "LoopbackListener.h"
#include "NBTCPClient.h"
#include "TestRelease.h"

namespace {

std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = char(i * 13 + 5);
    return bytes;
}

} // namespace

TEST(RawTransfer, SendFileSendsEveryByte)
{
    struct Case { size_t size; int rate; };
    const Case cases[] = {{5000, 0}, {2048, 0}, {10000, 64}};
    for (const Case& c : cases) {
        const std::string bytes = Pattern(c.size);
        WriteFileBytes("raw_send.bin", bytes);
        LoopbackListener listener;
        listener.ServeReceive();
        CNBTCPClient client;
        ASSERT_EQ(client.Init(2), 1);
        ASSERT_EQ(client.Connect(inet_addr("127.0.0.1"), listener.port), 1);
        DWORD start = GetTickCount();
        int sent = c.rate ? client.SendFileThrottled("raw_send.bin", c.rate) : client.SendFile("raw_send.bin");
        DWORD elapsed = GetTickCount() - start;
        EXPECT_EQ(sent, int(c.size));
        client.Close();
        listener.Join();
        EXPECT_EQ(listener.received, bytes) << c.size;
        // 64 KB/s goes out in blocks of 3276 bytes with a pause after each whole one.
        if (c.rate) {
            EXPECT_GE(elapsed, 140u);
        }
    }
}

TEST(RawTransfer, SendFileRefusesWhatItCannotSend)
{
    CNBTCPClient client;
    ASSERT_EQ(client.Init(1), 1);
    WriteFileBytes("raw_empty.bin", "");
    EXPECT_EQ(client.SendFile("raw_missing.bin"), -1);
    EXPECT_EQ(client.SendFile("raw_empty.bin"), 0);
    EXPECT_EQ(client.SendFileThrottled("raw_empty.bin", 0), -1);
    WriteFileBytes("raw_one.bin", "x");
    EXPECT_EQ(client.SendFile("raw_one.bin"), -1);  // not connected
    EXPECT_EQ(GetFileSize("raw_one.bin"), 1);
    EXPECT_EQ(GetFileSize("."), -1);
    EXPECT_EQ(GetFileSize("raw_missing.bin"), -1);
}

TEST(RawTransfer, RecvFileStopsAtTheLengthOrTheClose)
{
    struct Case { size_t sent; int length; int result; };
    const Case cases[] = {{8000, 5000, 5000}, {3000, 5000, 3000}, {0, 10, 0}};
    for (const Case& c : cases) {
        const std::string bytes = Pattern(c.sent);
        LoopbackListener listener;
        listener.ServeSend(bytes);
        CNBTCPClient client;
        ASSERT_EQ(client.Init(2), 1);
        ASSERT_EQ(client.Connect(inet_addr("127.0.0.1"), listener.port), 1);
        EXPECT_EQ(client.RecvFile("raw_recv.bin", c.length), c.result);
        EXPECT_EQ(ReadFileBytes("raw_recv.bin"), bytes.substr(0, c.result));
        client.Close();
        listener.Join();
    }
}

TEST(RawTransfer, ReconnectReachesTheSamePeer)
{
    LoopbackListener listener;
    listener.ServeSend("first");
    CNBTCPClient client;
    ASSERT_EQ(client.Init(2), 1);
    ASSERT_EQ(client.Connect(inet_addr("127.0.0.1"), listener.port), 1);
    EXPECT_EQ(client.RecvFile("raw_recv.bin", 100), 5);
    listener.Join();
    listener.ServeSend("second");
    ASSERT_EQ(client.Reconnect(), 1);
    EXPECT_TRUE(client.IsConnected());
    EXPECT_EQ(client.RecvFile("raw_recv.bin", 100), 6);
    EXPECT_EQ(ReadFileBytes("raw_recv.bin"), "second");
}
