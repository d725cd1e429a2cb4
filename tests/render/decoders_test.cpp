// The four image decoders against the fixture generator's expected frames.
#include <objbase.h>

#include <string>

#include "RenderTestUtil.h"
#include "support/CostMeter.h"
#include "render/ApngDecoder.h"
#include "render/ImgFiles.h"
#include "render/IRenderObj.h"
#include "render/JpegTables.h"
#include "render/PngCodec.h"
#include "render/SImgDecoder_GDIP.h"
#include "render/SImgDecoder_PNG.h"
#include "render/SImgDecoder_WIC.h"

using namespace WUI;
using namespace rendertest;

namespace {

const wchar_t* const kDecoders[] = {L"imgdecoder-png", L"imgdecoder-gdip", L"imgdecoder-wic", L"imgdecoder-stb"};

// What a malformed file may make a decoder spend on the heap.
const int64_t kMaxRise = 64ll << 20;

class DecoderTest : public ::testing::Test {
protected:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }

    // Decodes a fixture file with the named decoder; the image's frames as pixels.
    struct Result {
        int count = -1;
        std::vector<int> delays;
        std::vector<std::vector<uint8_t>> frames;
        UINT width = 0, height = 0;
    };
    static Result Decode(const wchar_t* decoder, const std::string& file, bool fromMemory = true) {
        Result r;
        IImgDecoderFactory* f = nullptr;
        if (!CreateImgDecoderFactory(decoder, &f) || !f) return r;
        IImgX* img = nullptr;
        f->CreateImgX(&img);
        if (img) {
            std::vector<uint8_t> data = ReadFile(Fixture(file));
            r.count = fromMemory ? img->LoadFromMemory(data.data(), data.size()) : img->LoadFromFileW(Wide(Fixture(file)).c_str());
            EXPECT_EQ(UINT(r.count), img->GetFrameCount());
            for (int i = 0; i < r.count; ++i) {
                IImgFrame* fr = img->GetFrame(UINT(i));
                fr->GetSize(&r.width, &r.height);
                r.delays.push_back(fr->GetDelay());
                r.frames.push_back(FramePixels(fr));
            }
            EXPECT_EQ(nullptr, img->GetFrame(UINT(r.count)));
            img->Release();
        }
        f->Release();
        return r;
    }
};

struct StillCase {
    const char* file;
    const char* expect;
    const wchar_t* decoders[4];
};

// Lossless stills: every decoder named gives the reference pixels.
TEST_F(DecoderTest, LosslessStillsAgreeAcrossDecoders) {
    const StillCase cases[] = {
        {"still_rgba.png", "still_rgba", {L"imgdecoder-png", L"imgdecoder-gdip", L"imgdecoder-wic", L"imgdecoder-stb"}},
        {"still_rgba16.png", "still_rgba16", {L"imgdecoder-png", L"imgdecoder-gdip", L"imgdecoder-wic", L"imgdecoder-stb"}},
        {"still_interlaced.png", "still_interlaced", {L"imgdecoder-png", L"imgdecoder-gdip", L"imgdecoder-wic", L"imgdecoder-stb"}},
        {"still_palette.png", "still_palette", {L"imgdecoder-png", L"imgdecoder-gdip", L"imgdecoder-wic", L"imgdecoder-stb"}},
        {"still_grey.png", "still_grey", {L"imgdecoder-png", L"imgdecoder-gdip", L"imgdecoder-wic", L"imgdecoder-stb"}},
        {"still_greyalpha.png", "still_greyalpha", {L"imgdecoder-png", L"imgdecoder-gdip", L"imgdecoder-wic", L"imgdecoder-stb"}},
        {"opaque.bmp", "opaque", {L"imgdecoder-gdip", L"imgdecoder-wic", L"imgdecoder-stb", nullptr}},
        {"still.gif", "still_gif", {L"imgdecoder-gdip", L"imgdecoder-wic", L"imgdecoder-stb", nullptr}},
    };
    for (const StillCase& c : cases) {
        Expected e = LoadExpected(c.expect);
        ASSERT_EQ(1u, e.frames.size()) << c.expect;
        for (const wchar_t* dec : c.decoders) {
            if (!dec) continue;
            SCOPED_TRACE(std::string(c.file) + " / " + std::string(dec, dec + wcslen(dec)));
            Result r = Decode(dec, c.file);
            ASSERT_EQ(1, r.count);
            ASSERT_EQ(e.width, r.width);
            ASSERT_EQ(e.height, r.height);
            ASSERT_EQ(e.frames[0].size(), r.frames[0].size());
            EXPECT_TRUE(PixelsMatch(r.frames[0].data(), e.frames[0].data(), e.width * e.height));
        }
    }
}

TEST_F(DecoderTest, PremultipliesAndClearsTransparentPixels) {
    for (const wchar_t* dec : kDecoders) {
        Result r = Decode(dec, "still_rgba.png", false);
        ASSERT_EQ(1, r.count);
        const uint8_t* px = r.frames[0].data();
        // (255,128,0,128) at index 5 comes out blue 0, green 64, red 128, alpha 128.
        EXPECT_EQ(0, px[5 * 4 + 0]);
        EXPECT_NEAR(64, px[5 * 4 + 1], 1);
        EXPECT_NEAR(128, px[5 * 4 + 2], 1);
        EXPECT_EQ(128, px[5 * 4 + 3]);
        // A transparent pixel that carried colour is four zero bytes.
        for (int c = 0; c < 4; ++c) EXPECT_EQ(0, px[6 * 4 + c]);
    }
}

TEST_F(DecoderTest, JpegDecodesToOpaqueColour) {
    for (const wchar_t* dec : {L"imgdecoder-gdip", L"imgdecoder-wic", L"imgdecoder-stb"})
    for (const char* file : {"still.jpg", "still_progressive.jpg"}) {
        SCOPED_TRACE(std::string(file) + " / " + std::string(dec, dec + wcslen(dec)));
        Result r = Decode(dec, file);
        ASSERT_EQ(1, r.count);
        ASSERT_EQ(16u, r.width);
        const uint8_t* p = r.frames[0].data() + (8 * 16 + 8) * 4;
        EXPECT_NEAR(0xCC, p[0], 6);
        EXPECT_NEAR(0x66, p[1], 6);
        EXPECT_NEAR(0x33, p[2], 6);
        EXPECT_EQ(255, p[3]);
    }
}

// Animations through our own APNG support, against the reference composer.
TEST_F(DecoderTest, ApngFramesMatchReferenceComposer) {
    for (const char* name : {"anim_basic", "anim_hidden", "anim_grey", "anim_apngasm"}) {
        SCOPED_TRACE(name);
        Expected e = LoadExpected(name);
        Result r = Decode(L"imgdecoder-png", std::string(name) + ".png");
        ASSERT_EQ(int(e.frames.size()), r.count);
        ASSERT_GT(r.count, 1);
        EXPECT_EQ(e.delays, r.delays);
        for (int i = 0; i < r.count; ++i) {
            SCOPED_TRACE(i);
            EXPECT_TRUE(PixelsMatch(r.frames[i].data(), e.frames[i].data(), e.width * e.height));
        }
    }
}

TEST_F(DecoderTest, ApngFrameHeadsAndPlays) {
    SImgX_PNG img;
    std::vector<uint8_t> data = ReadFile(Fixture("anim_basic.png"));
    ASSERT_EQ(4, img.LoadFromMemory(data.data(), data.size()));
    EXPECT_EQ(3u, img.GetPlays());
    const ApngFrameHead* h = img.GetFrameHead(2);
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(2u, h->x);
    EXPECT_EQ(1u, h->y);
    EXPECT_EQ(4u, h->width);
    EXPECT_EQ(3u, h->height);
    EXPECT_EQ(2, h->dispose);
    EXPECT_EQ(1, h->blend);
    EXPECT_EQ(nullptr, img.GetFrameHead(4));
}

// JPEG streams built segment by segment: an 8x8 one-component frame and
// scans over tables defined or not.
struct JpegBuilder {
    std::vector<uint8_t> bytes;
    JpegBuilder() : bytes(2, 0xFF) { bytes[1] = 0xD8; }
    JpegBuilder& Seg(uint8_t marker, std::vector<uint8_t> body) {
        size_t n = body.size() + 2;
        bytes.insert(bytes.end(), {0xFF, marker, uint8_t(n >> 8), uint8_t(n)});
        bytes.insert(bytes.end(), body.begin(), body.end());
        return *this;
    }
    JpegBuilder& Quant(uint8_t id) {
        std::vector<uint8_t> b(65, 1);
        b[0] = id;
        return Seg(0xDB, b);
    }
    // One 1-bit code of class 0 (DC) or 1 (AC).
    JpegBuilder& Huffman(uint8_t cls, uint8_t id) {
        std::vector<uint8_t> b(18, 0);
        b[0] = uint8_t(cls << 4 | id);
        b[1] = 1;
        return Seg(0xC4, b);
    }
    JpegBuilder& Frame(uint8_t type, uint8_t quant = 0, uint16_t width = 8, uint16_t height = 8, uint8_t sampling = 0x11) {
        return Seg(type, {8, uint8_t(height >> 8), uint8_t(height), uint8_t(width >> 8), uint8_t(width), 1, 1, sampling, quant});
    }
    JpegBuilder& Scan(uint8_t tables, uint8_t start = 0, uint8_t end = 63, uint8_t approx = 0, uint8_t component = 1) {
        Seg(0xDA, {1, component, tables, start, end, approx});
        bytes.insert(bytes.end(), {0x00, 0xFF, 0x00, 0x12, 0xFF, 0xD0, 0x00});  // data, a stuffed 0xFF, a restart
        return *this;
    }
    std::vector<uint8_t> End() {
        bytes.insert(bytes.end(), {0xFF, 0xD9});
        return bytes;
    }
};

TEST(JpegTables, ScansMustFollowTheirTables) {
    const uint8_t kBase = 0xC0, kProg = 0xC2;
    auto baseline = [&] { return JpegBuilder().Quant(0).Frame(kBase); };
    auto progressive = [&] { return JpegBuilder().Quant(0).Frame(kProg); };
    std::vector<uint8_t> cut = baseline().Huffman(0, 0).Huffman(1, 0).Scan(0x00).bytes;
    cut.resize(cut.size() - 3);  // inside the scan data
    std::vector<uint8_t> pastEnd = baseline().bytes;
    pastEnd.insert(pastEnd.end(), {0xFF, 0xC4, 0x00, 0x40, 0x00});
    const struct { const char* what; std::vector<uint8_t> stream; bool ok; } cases[] = {
        {"all defined", baseline().Huffman(0, 0).Huffman(1, 0).Scan(0x00).End(), true},
        {"no Huffman table", baseline().Scan(0x00).End(), false},
        {"DC table only", baseline().Huffman(0, 0).Scan(0x00).End(), false},
        {"AC table only", baseline().Huffman(1, 0).Scan(0x00).End(), false},
        {"other table ids", baseline().Huffman(0, 1).Huffman(1, 1).Scan(0x00).End(), false},
        {"tables after the scan", baseline().Scan(0x00).Huffman(0, 0).Huffman(1, 0).End(), false},
        {"quantisation table missing", JpegBuilder().Quant(0).Frame(kBase, 1).Huffman(0, 0).Huffman(1, 0).Scan(0x00).End(), false},
        {"scan before the frame", JpegBuilder().Quant(0).Huffman(0, 0).Huffman(1, 0).Scan(0x00).Frame(kBase).End(), false},
        {"component not in the frame", baseline().Huffman(0, 0).Huffman(1, 0).Scan(0x00, 0, 63, 0, 2).End(), false},
        {"lossless frame", JpegBuilder().Quant(0).Frame(0xC3).Huffman(0, 0).Scan(0x00).End(), false},
        {"progressive DC first, no AC table", progressive().Huffman(0, 0).Scan(0x00, 0, 0).End(), true},
        {"progressive DC refinement, no table", progressive().Huffman(0, 0).Scan(0x00, 0, 0).Scan(0x00, 0, 0, 0x10).End(), true},
        {"progressive AC, no AC table", progressive().Huffman(0, 0).Scan(0x00, 0, 0).Scan(0x00, 1, 63).End(), false},
        {"progressive AC defined later", progressive().Huffman(0, 0).Scan(0x00, 0, 0).Huffman(1, 0).Scan(0x00, 1, 63).End(), true},
        {"ends inside scan data", cut, true},
        {"segment past the end", pastEnd, false},
        {"not a JPEG", {0x89, 'P', 'N', 'G'}, true},
    };
    for (const auto& c : cases) EXPECT_EQ(c.ok, JpegScansUseDefinedTables(c.stream.data(), c.stream.size())) << c.what;
}

// Each scan of the builder holds 7 bytes of data: 56 bits, for 56 MCUs at most.
TEST(JpegTables, ScanDataMustCoverTheFrame) {
    const uint8_t kBase = 0xC0, kProg = 0xC2;
    auto frame = [&](uint8_t type, uint16_t w, uint16_t h, uint8_t sampling = 0x11) {
        return JpegBuilder().Quant(0).Frame(type, 0, w, h, sampling).Huffman(0, 0).Huffman(1, 0);
    };
    std::vector<uint8_t> cut = frame(kBase, 8, 8).Scan(0x00).bytes;
    cut.resize(cut.size() - 7);  // the scan's header only
    const struct { const char* what; std::vector<uint8_t> stream; bool ok; } cases[] = {
        {"one MCU", frame(kBase, 8, 8).Scan(0x00).End(), true},
        {"56 MCUs", frame(kBase, 448, 8).Scan(0x00).End(), true},
        {"57 MCUs", frame(kBase, 449, 8).Scan(0x00).End(), false},
        {"a header for 8192x8192", frame(kBase, 8192, 8192).Scan(0x00).End(), false},
        {"MCUs of 16x16 pixels", frame(kBase, 896, 16, 0x22).Scan(0x00).End(), true},
        {"two scans together", frame(kProg, 896, 8).Scan(0x00, 0, 0).Scan(0x00, 0, 0, 0x10).End(), true},
        {"no scan data", cut, false},
        {"no scan", frame(kBase, 8, 8).End(), false},
        {"height left to a later marker", frame(kBase, 8192, 0).Scan(0x00).End(), true},
        {"not a JPEG", {0x89, 'P', 'N', 'G'}, true},
    };
    for (const auto& c : cases) EXPECT_EQ(c.ok, JpegDataCanFillImage(c.stream.data(), c.stream.size())) << c.what;
}

TEST(ApngDelay, HundredthsFromFraction) {
    struct { uint16_t num, den; int want; } cases[] = {
        {1, 1000, 0}, {3, 10, 30}, {7, 0, 7}, {1, 3, 33}, {25, 100, 25}, {150, 1000, 15}, {65535, 1, 6553500},
    };
    for (auto& c : cases) {
        ApngFrameHead h;
        h.delayNum = c.num;
        h.delayDen = c.den;
        EXPECT_EQ(c.want, h.Delay()) << c.num << "/" << c.den;
    }
}

TEST_F(DecoderTest, AnimatedGifThroughGdiplus) {
    Expected e = LoadExpected("anim_gif");
    Result r = Decode(L"imgdecoder-gdip", "anim.gif");
    ASSERT_EQ(4, r.count);
    EXPECT_EQ(e.delays, r.delays);  // 0, 5, 10, 20 hundredths -> 100, 100, 100, 200 ms
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(PixelsMatch(r.frames[i].data(), e.frames[i].data(), 16)) << i;
}

TEST_F(DecoderTest, GdiplusComposesPartialGifFrames) {
    Expected e = LoadExpected("anim_partial_gif");
    Result r = Decode(L"imgdecoder-gdip", "anim_partial.gif");
    ASSERT_EQ(2, r.count);
    EXPECT_EQ(e.delays, r.delays);
    for (int i = 0; i < 2; ++i) EXPECT_TRUE(PixelsMatch(r.frames[i].data(), e.frames[i].data(), 16)) << i;
}

TEST(GifDelays, MissingOrShortPropertyDefaultsTo100) {
    const UINT values[] = {0, 5, 10, 11, 20};
    EXPECT_EQ((std::vector<int>{100, 100, 100, 110, 200}), GifFrameDelays(values, 5, 5));
    EXPECT_EQ((std::vector<int>{100, 100, 100}), GifFrameDelays(values, 2, 3));
    EXPECT_EQ((std::vector<int>{100, 100}), GifFrameDelays(nullptr, 0, 2));
}

// Each WIC frame has its own converter: frames differ as the images do.
TEST_F(DecoderTest, WicDeliversEveryFrame) {
    Expected e = LoadExpected("anim_gif");
    Result r = Decode(L"imgdecoder-wic", "anim.gif");
    ASSERT_EQ(4, r.count);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(PixelsMatch(r.frames[i].data(), e.frames[i].data(), 16)) << i;
}

TEST_F(DecoderTest, WicFactoryReleasedByLastHolder) {
    int before = SImgDecoderFactory_WIC::HolderCount();
    IImgDecoderFactory *a = nullptr, *b = nullptr;
    CreateImgDecoderFactory(L"imgdecoder-wic", &a);
    CreateImgDecoderFactory(L"imgdecoder-wic", &b);
    EXPECT_EQ(before + 2, SImgDecoderFactory_WIC::HolderCount());
    IImgX* img = nullptr;
    a->CreateImgX(&img);
    a->Release();
    EXPECT_EQ(before + 1, SImgDecoderFactory_WIC::HolderCount());
    // An image made by a released factory still decodes.
    std::vector<uint8_t> data = ReadFile(Fixture("still_rgba.png"));
    ASSERT_NE(nullptr, img);
    EXPECT_EQ(1, img->LoadFromMemory(data.data(), data.size()));
    img->Release();
    b->Release();
    EXPECT_EQ(before, SImgDecoderFactory_WIC::HolderCount());
}

// Which decoders owe a refusal: all four; the PNG and stb decoders, whose
// checks are the framework's (the platform's may take the file: Wine's JPEG
// decoder supplies standard Huffman tables, its WIC fills a short BMP out, a
// broken chunk after whole image data goes unread); or the APNG decoder alone
// (structure and chunk CRCs: the others decode the default image their own way).
enum Refusers { kAll, kOwn, kPngOnly };

TEST_F(DecoderTest, MalformedFilesGiveZeroFramesWithinBounds) {
    const struct { const char* name; Refusers who; } bad[] = {
        {"empty", kAll}, {"signature_only", kAll}, {"bad_signature", kAll}, {"truncated_header", kAll},
        {"truncated_data", kPngOnly}, {"bad_crc", kPngOnly}, {"huge_ihdr", kAll}, {"side_over_cap", kAll},
        {"zero_width", kAll}, {"chunk_length_past_end", kAll}, {"apng_count_mismatch", kPngOnly},
        {"apng_huge_count", kPngOnly}, {"apng_frame_outside", kPngOnly}, {"apng_frame_offset_overflow", kPngOnly},
        {"apng_seq_out_of_order", kPngOnly}, {"apng_bad_dispose", kPngOnly}, {"apng_first_not_full", kPngOnly},
        {"apng_frame_data_broken", kPngOnly}, {"gif_huge_screen", kAll}, {"bmp_huge", kAll}, {"garbage", kAll},
        {"hdr_rle_zero_run", kAll}, {"jpeg_undefined_huffman", kOwn}, {"jpeg_undefined_quant", kAll},
        {"png_idat_past_end", kOwn}, {"png_large_canvas_tiny_data", kAll}, {"jpeg_large_canvas_tiny_data", kOwn},
        {"gif_large_canvas_tiny_data", kOwn},
        {"bmp_large_canvas_tiny_data", kOwn}, {"apng_huge_canvas", kAll},
        {"apng_broken_first_frame", kAll}, {"apng_total_over_cap", kPngOnly},
    };
    for (const auto& c : bad) {
        std::string file = std::string("bad/") + c.name + ".bin";
        for (const wchar_t* dec : kDecoders) {
            bool own = wcscmp(dec, L"imgdecoder-png") == 0 || wcscmp(dec, L"imgdecoder-stb") == 0;
            bool owes = c.who == kAll || (c.who == kOwn && own) || wcscmp(dec, L"imgdecoder-png") == 0;
            if (!owes) continue;
            SCOPED_TRACE(file + " / " + std::string(dec, dec + wcslen(dec)));
            // A refusal costs little: the heap count sees the framework's own
            // decoders (the platform's keep heaps of their own).
            CostMeter cost;
            EXPECT_EQ(0, Decode(dec, file).count);
            EXPECT_LT(cost.PeakRise(), kMaxRise);
            EXPECT_LT(cost.CpuMs(), 1000.0);
            EXPECT_EQ(0, Decode(dec, file, false).count);
        }
    }
    // The JPEG cases' well-formed neighbour decodes: the tables make the difference.
    for (const wchar_t* dec : {L"imgdecoder-gdip", L"imgdecoder-wic", L"imgdecoder-stb"})
        EXPECT_EQ(1, Decode(dec, "tables_defined.jpg").count);
}

TEST_F(DecoderTest, FactoryByExactName) {
    struct { const wchar_t* name; const wchar_t* description; } names[] = {
        {L"imgdecoder-gdip", L"gdi+"}, {L"imgdecoder-png", L"apng"}, {L"imgdecoder-wic", L"wic"}, {L"imgdecoder-stb", L"stb"}};
    for (auto& n : names) {
        IImgDecoderFactory* f = nullptr;
        EXPECT_TRUE(CreateImgDecoderFactory(n.name, &f));
        ASSERT_NE(nullptr, f);
        EXPECT_STREQ(n.description, f->GetDescription());
        f->Release();
    }
    IImgDecoderFactory* sentinel = reinterpret_cast<IImgDecoderFactory*>(0x1234);
    for (const wchar_t* bad : {L"imgdecoder-GDIP", L"imgdecoder", L"", L"imgdecoder-png "}) {
        IImgDecoderFactory* f = sentinel;
        EXPECT_FALSE(CreateImgDecoderFactory(bad, &f));
        EXPECT_EQ(sentinel, f);
    }
}

TEST_F(DecoderTest, AnsiPathsUpTo259Characters) {
    std::string longPath(260, 'a');
    for (const wchar_t* dec : kDecoders) {
        IImgDecoderFactory* f = nullptr;
        CreateImgDecoderFactory(dec, &f);
        IImgX* img = nullptr;
        f->CreateImgX(&img);
        EXPECT_EQ(0, img->LoadFromFileA(longPath.c_str()));
        EXPECT_EQ(1, img->LoadFromFileA(Fixture("still_rgba.png").c_str()));
        img->Release();
        f->Release();
    }
}

// Takes every free stretch of the address space of at least `least` bytes
// for as long as it lives, so no allocation that large can succeed.
class AddressSpaceHog {
public:
    explicit AddressSpaceHog(SIZE_T least) {
        // Largest first: the system hands out stretches it keeps apart
        // (Wine's reserved areas) only to reservations it places itself.
        for (SIZE_T size = SIZE_T(1) << 30; size >= least; size /= 2)
            while (void* p = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS)) m_taken.push_back(p);
    }
    ~AddressSpaceHog() {
        for (void* p : m_taken) VirtualFree(p, 0, MEM_RELEASE);
    }

private:
    std::vector<void*> m_taken;
};

TEST(ImgFiles, AFileThatCannotBeHeldInMemoryIsRefusedAndClosed) {
    wchar_t folder[MAX_PATH];
    ASSERT_TRUE(GetTempPathW(MAX_PATH, folder));
    const std::wstring path = std::wstring(folder) + L"orvo_big_image.bin";
    {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        LARGE_INTEGER size;
        size.QuadPart = 200 << 20;  // within the image cap, sparse on disk
        EXPECT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file));
        CloseHandle(file);
    }
    std::vector<BYTE> data(3, 1);
    bool read = true;
    {
        AddressSpaceHog hog(64 << 20);
        EXPECT_NO_THROW(read = ImgFiles::ReadAll(path.c_str(), &data));
    }
    EXPECT_FALSE(read);
    EXPECT_TRUE(data.empty());
    EXPECT_TRUE(DeleteFileW(path.c_str())) << "the file was left open";
}

TEST_F(DecoderTest, StbReloadReplacesFrame) {
    IImgDecoderFactory* f = nullptr;
    CreateImgDecoderFactory(L"imgdecoder-stb", &f);
    IImgX* img = nullptr;
    f->CreateImgX(&img);
    std::vector<uint8_t> a = ReadFile(Fixture("still_rgba.png")), b = ReadFile(Fixture("still.jpg"));
    EXPECT_EQ(1, img->LoadFromMemory(a.data(), a.size()));
    EXPECT_EQ(1, img->LoadFromMemory(b.data(), b.size()));
    UINT w = 0, h = 0;
    img->GetFrame(0)->GetSize(&w, &h);
    EXPECT_EQ(16u, w);
    EXPECT_EQ(0, img->LoadFromMemory(nullptr, 10));
    EXPECT_EQ(0u, img->GetFrameCount());
    img->Release();
    f->Release();
}

TEST(FrameCopy, WrongBufferSizeRefused) {
    SImgX_PNG img;
    std::vector<uint8_t> data = ReadFile(Fixture("still_rgba.png"));
    ASSERT_EQ(1, img.LoadFromMemory(data.data(), data.size()));
    std::vector<BYTE> buf(6 * 4 * 4);
    EXPECT_FALSE(img.GetFrame(0)->CopyPixels(nullptr, 24, UINT(buf.size() - 4), buf.data()));
    EXPECT_TRUE(img.GetFrame(0)->CopyPixels(nullptr, 24, UINT(buf.size()), buf.data()));
}

// Saving: straight RGBA with rounded un-premultiplying, and the reload agrees.
class PngSaveTest : public ::testing::Test {
protected:
    Factories fx{L"imgdecoder-png"};
};

TEST_F(PngSaveTest, SaveAndReload) {
    IBitmap* bmp = nullptr;
    fx.render->CreateBitmap(&bmp);
    // Premultiplied BGRA: opaque red, (128,64,0) at alpha 128, clear, near-clear.
    const uint8_t px[] = {0, 0, 255, 255, 0, 64, 128, 128, 0, 0, 0, 0, 1, 1, 1, 3};
    ASSERT_EQ(S_OK, bmp->Init(2, 2, px));
    std::wstring path = L"saved_roundtrip.png";
    ASSERT_EQ(S_OK, bmp->Save(path.c_str(), nullptr));
    std::vector<uint8_t> file = ReadFile("saved_roundtrip.png");
    uint32_t w = 0, h = 0;
    std::vector<uint8_t> rgba;
    ASSERT_TRUE(DecodePngRgba(file.data(), file.size(), &w, &h, &rgba));
    ASSERT_EQ(2u, w);
    // 64 * 255 / 128 = 127.5 rounds to 128 (truncation would give 127).
    EXPECT_EQ((std::vector<uint8_t>{255, 0, 0, 255, 255, 128, 0, 128, 0, 0, 0, 0, 85, 85, 85, 3}), rgba);
    IBitmap* back = nullptr;
    fx.render->CreateBitmap(&back);
    ASSERT_EQ(S_OK, back->LoadFromFile(path.c_str()));
    EXPECT_TRUE(PixelsMatch(static_cast<const uint8_t*>(back->GetPixelBits()), px, 4));
    back->Release();
    bmp->Release();
}

TEST_F(PngSaveTest, SaveErrors) {
    EXPECT_EQ(E_INVALIDARG, fx.decoders->SaveImage(nullptr, L"x.png", nullptr));
    IBitmap* bmp = nullptr;
    fx.render->CreateBitmap(&bmp);
    EXPECT_EQ(E_INVALIDARG, bmp->Save(L"empty.png", nullptr));
    ASSERT_EQ(S_OK, bmp->Init(2, 2, nullptr));
    EXPECT_EQ(E_FAIL, bmp->Save(L"no_such_folder\\x.png", nullptr));
    bmp->Release();
}

TEST(GdipSave, SavesThroughMatchingEncoder) {
    Factories fx{L"imgdecoder-gdip"};
    IBitmap* bmp = nullptr;
    fx.render->CreateBitmap(&bmp);
    const uint8_t px[] = {0, 0, 255, 255, 255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0};
    ASSERT_EQ(S_OK, bmp->Init(2, 2, px));
    // The PNG file format, as GDI+ encoders list it.
    const GUID png = {0xB96B3CAF, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    const GUID none = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    EXPECT_EQ(E_FAIL, bmp->Save(L"gdip_none.png", &none));
    ASSERT_EQ(S_OK, bmp->Save(L"gdip_saved.png", &png));
    IBitmap* back = nullptr;
    fx.render->CreateBitmap(&back);
    ASSERT_EQ(S_OK, back->LoadFromFile(L"gdip_saved.png"));
    EXPECT_TRUE(PixelsMatch(static_cast<const uint8_t*>(back->GetPixelBits()), px, 4));
    back->Release();
    bmp->Release();
}

}  // namespace
