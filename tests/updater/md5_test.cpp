#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "Md5.h"
#include "TestRelease.h"

TEST(MD5, MatchesReferenceVectors)
{
    struct Case { std::string text; const char* hex; };
    const Case cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
        {std::string(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Md5Of(c.text), c.hex) << c.text.substr(0, 20);
        // The raw bytes are the same digest, byte for byte.
        MD5 md5;
        md5.Update(c.text.data(), c.text.size());
        md5.Finalize();
        unsigned char raw[17];
        raw[16] = 0xAA;
        md5.CopyRawDigest(raw);
        EXPECT_EQ(memcmp(raw, md5.GetRawDigest(), 16), 0);
        EXPECT_EQ(raw[16], 0xAA);
        char hex[33];
        for (int i = 0; i < 16; ++i)
            snprintf(hex + 2 * i, 3, "%02x", raw[i]);
        EXPECT_STREQ(hex, c.hex);
    }
}

TEST(MD5, SplitUpdatesEqualOneUpdate)
{
    std::string text(1000, 'x');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = char(i * 7);
    MD5 md5;
    for (size_t pos = 0, step = 1; pos < text.size(); pos += step, step = step * 2 + 1)
        md5.Update(text.data() + pos, std::min(step, text.size() - pos));
    md5.Finalize();
    md5.Finalize();
    char hex[33];
    md5.FormatHexDigest(hex);
    EXPECT_EQ(std::string(hex), Md5Of(text));
}

TEST(MD5, DigestsAFile)
{
    std::string bytes(200000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i % 251);
    WriteFileBytes("md5_sample.bin", bytes);
    MD5 md5;
    FILE* file = fopen("md5_sample.bin", "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(md5.UpdateFromFile(file));
    md5.Finalize();
    char hex[33];
    md5.FormatHexDigest(hex);
    EXPECT_EQ(std::string(hex), Md5Of(bytes));
    MD5 unfinished;
    unfinished.Update("abc", 3);
    unfinished.FormatHexDigest(hex);
    EXPECT_EQ(std::string(hex), "");
    EXPECT_EQ(unfinished.GetHexDigest(), "");
    unsigned char raw[16];
    memset(raw, 0xAA, sizeof raw);
    unfinished.CopyRawDigest(raw);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(raw), 16), std::string(16, '\0'));
}
