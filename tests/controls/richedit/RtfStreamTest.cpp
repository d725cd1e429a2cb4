// The stream callbacks never hand the services more than they asked for,
// and stop a file that is too long.
#include "controls/RtfStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace WUI;

TEST(RtfStream, MemoryReaderCopiesAtMostTheAskedCount)
{
    const char source[] = "0123456789";
    struct Case {
        LONG ask;
        LONG expect;
        const char* what;
    } cases[] = {
        {4, 4, "a short read"},
        {4, 4, "the next four"},
        {8, 2, "only what is left"},
        {8, 0, "nothing past the end"},
    };
    RtfMemoryReader reader(source, 10);
    std::string got;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BYTE buffer[16];
        memset(buffer, 0xEE, sizeof buffer);
        LONG done = -1;
        EXPECT_EQ(0u, RtfMemoryRead(reinterpret_cast<DWORD_PTR>(&reader), buffer, c.ask, &done));
        EXPECT_EQ(c.expect, done);
        for (size_t i = static_cast<size_t>(c.ask); i < sizeof buffer; ++i) ASSERT_EQ(0xEE, buffer[i]) << i;
        got.append(reinterpret_cast<char*>(buffer), static_cast<size_t>(done));
    }
    EXPECT_EQ("0123456789", got);

    // Counts that are not positive move nothing.
    RtfMemoryReader again(source, 10);
    for (LONG ask : {0L, -5L}) {
        LONG done = -1;
        BYTE buffer[4] = {};
        EXPECT_EQ(0u, RtfMemoryRead(reinterpret_cast<DWORD_PTR>(&again), buffer, ask, &done));
        EXPECT_EQ(0, done);
    }
    EXPECT_EQ(0u, again.pos);
}

TEST(RtfStream, FileReaderStopsPastTheLimitAndWriterReportsShortWrites)
{
    wchar_t dir[MAX_PATH], path[MAX_PATH];
    ASSERT_TRUE(GetTempPathW(MAX_PATH, dir));
    ASSERT_TRUE(GetTempFileNameW(dir, L"rtf", 0, path));
    FILE* f = _wfopen(path, L"wb");
    ASSERT_TRUE(f);
    RtfFileWriter writer(f);
    BYTE block[4096];
    memset(block, 'x', sizeof block);
    LONG done = 0;
    // A little more than the limit, in blocks.
    const size_t blocks = kMaxRtfBytes / sizeof block + 1;
    for (size_t i = 0; i < blocks; ++i) {
        ASSERT_EQ(0u, RtfFileWrite(reinterpret_cast<DWORD_PTR>(&writer), block, sizeof block, &done));
        ASSERT_EQ(static_cast<LONG>(sizeof block), done);
    }
    fclose(f);

    f = _wfopen(path, L"rb");
    ASSERT_TRUE(f);
    RtfFileReader reader(f);
    DWORD error = 0;
    size_t total = 0;
    for (size_t i = 0; i <= blocks && !error; ++i) {
        error = RtfFileRead(reinterpret_cast<DWORD_PTR>(&reader), block, sizeof block, &done);
        total += static_cast<size_t>(done);
    }
    fclose(f);
    EXPECT_NE(0u, error) << "a file longer than the limit ends the stream";
    EXPECT_LE(total, kMaxRtfBytes);

    // A write to a stream opened for reading fails and says so.
    f = _wfopen(path, L"rb");
    ASSERT_TRUE(f);
    RtfFileWriter bad(f);
    EXPECT_NE(0u, RtfFileWrite(reinterpret_cast<DWORD_PTR>(&bad), block, 16, &done));
    fclose(f);
    DeleteFileW(path);
}
