// Each dependency, compiled for the target, does its basic job under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

#include <png.h>
#include <pugixml.hpp>
#include <stb_image.h>

#include "7z.h"
#include "7zAlloc.h"
#include "7zCrc.h"
#include "7zFile.h"

namespace {

std::vector<unsigned char> ReadFile(const std::string& path)
{
    std::vector<unsigned char> data;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return data;
    unsigned char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.insert(data.end(), buf, buf + n);
    std::fclose(f);
    return data;
}

const std::string kFixtures = "fixtures/";

// The straight RGBA pixels that make_fixtures.py writes into rgba.png.
const unsigned char kPixels[] = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0,
                                 255, 255, 255, 255, 0, 0, 0, 255, 10, 20, 30, 40};

TEST(Pugixml, ParsesWideDocumentWithChineseText)
{
    static_assert(std::is_same<pugi::char_t, wchar_t>::value, "pugixml must be the wide-character build");
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(L"<WUI title=\"\u5B89\u88C5\"><text>\u6B22\u8FCE\u4F7F\u7528</text></WUI>"));
    pugi::xml_node root = doc.child(L"WUI");
    EXPECT_STREQ(L"\u5B89\u88C5", root.attribute(L"title").value());
    EXPECT_STREQ(L"\u6B22\u8FCE\u4F7F\u7528", root.child(L"text").text().get());
    EXPECT_FALSE(doc.load_string(L"<WUI><unclosed></WUI>"));
}

TEST(Libpng, DecodesSmallRgbaImage)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, (kFixtures + "rgba.png").c_str())) << image.message;
    EXPECT_EQ(3u, image.width);
    EXPECT_EQ(2u, image.height);
    image.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) << image.message;
    EXPECT_EQ(std::vector<unsigned char>(kPixels, kPixels + sizeof kPixels), pixels);
}

TEST(StbImage, DecodesSamePngFromMemory)
{
    std::vector<unsigned char> file = ReadFile(kFixtures + "rgba.png");
    ASSERT_FALSE(file.empty());
    int w = 0, h = 0, channels = 0;
    unsigned char* data = stbi_load_from_memory(file.data(), (int)file.size(), &w, &h, &channels, 4);
    ASSERT_NE(nullptr, data) << stbi_failure_reason();
    EXPECT_EQ(3, w);
    EXPECT_EQ(2, h);
    EXPECT_EQ(std::vector<unsigned char>(kPixels, kPixels + sizeof kPixels), std::vector<unsigned char>(data, data + w * h * 4));
    stbi_image_free(data);
    file.resize(20);
    EXPECT_EQ(nullptr, stbi_load_from_memory(file.data(), (int)file.size(), &w, &h, &channels, 4));
}

// Extracts every file of a .7z with the SDK: name (with "/") -> bytes.
std::map<std::string, std::vector<unsigned char>> Extract7z(const std::wstring& path, SRes* result)
{
    std::map<std::string, std::vector<unsigned char>> files;
    ISzAlloc alloc = {SzAlloc, SzFree};
    ISzAlloc allocTemp = {SzAllocTemp, SzFreeTemp};
    CFileInStream archive;
    *result = SZ_ERROR_FAIL;
    if (InFile_OpenW(&archive.file, path.c_str()) != 0) return files;
    FileInStream_CreateVTable(&archive);
    archive.wres = 0;
    CLookToRead2 look;
    LookToRead2_CreateVTable(&look, False);
    const size_t kBufSize = 1 << 16;
    look.buf = static_cast<Byte*>(ISzAlloc_Alloc(&alloc, kBufSize));
    look.bufSize = kBufSize;
    look.realStream = &archive.vt;
    LookToRead2_INIT(&look);
    CrcGenerateTable();
    CSzArEx db;
    SzArEx_Init(&db);
    SRes res = SzArEx_Open(&db, &look.vt, &alloc, &allocTemp);
    UInt32 blockIndex = 0xFFFFFFFF;
    Byte* out = nullptr;
    size_t outSize = 0;
    for (UInt32 i = 0; res == SZ_OK && i < db.NumFiles; i++) {
        if (SzArEx_IsDir(&db, i)) continue;
        size_t len = SzArEx_GetFileNameUtf16(&db, i, nullptr);
        std::vector<UInt16> name(len);
        SzArEx_GetFileNameUtf16(&db, i, name.data());
        std::string key;
        for (size_t k = 0; k + 1 < len; k++) key += static_cast<char>(name[k]);
        size_t offset = 0, processed = 0;
        res = SzArEx_Extract(&db, &look.vt, i, &blockIndex, &out, &outSize, &offset, &processed, &alloc, &allocTemp);
        if (res == SZ_OK) files[key].assign(out + offset, out + offset + processed);
    }
    ISzAlloc_Free(&alloc, out);
    SzArEx_Free(&db, &alloc);
    ISzAlloc_Free(&alloc, look.buf);
    File_Close(&archive.file);
    *result = res;
    return files;
}

TEST(LzmaSdk, ListsAndExtractsArchivesByteEqual)
{
    for (const char* name : {"default.7z", "bcj2.7z"}) {
        SCOPED_TRACE(name);
        std::string path = kFixtures + name;
        SRes res;
        auto files = Extract7z(std::wstring(path.begin(), path.end()), &res);
        ASSERT_EQ(SZ_OK, res);
        ASSERT_EQ(3u, files.size());
        for (const char* file : {"readme.txt", "sub/data.bin", "app.exe"}) {
            std::vector<unsigned char> expected = ReadFile(kFixtures + "tree/" + file);
            ASSERT_FALSE(expected.empty()) << file;
            EXPECT_TRUE(files[file] == expected) << file;
        }
    }
}

TEST(LzmaSdk, RejectsDamagedArchive)
{
    std::vector<unsigned char> data = ReadFile(kFixtures + "default.7z");
    ASSERT_GT(data.size(), 100u);
    data.resize(data.size() / 2);
    FILE* f = std::fopen((kFixtures + "truncated.7z").c_str(), "wb");
    ASSERT_NE(nullptr, f);
    std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);
    SRes res;
    Extract7z(L"fixtures/truncated.7z", &res);
    EXPECT_NE(SZ_OK, res);
}

}  // namespace
