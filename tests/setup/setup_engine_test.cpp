// Archive reader, install worker and uninstall worker on real 7z archives
// made by 7zz, real files and a message-only window that records what the
// workers post.
#include "engine/InstallWorker.h"
#include "engine/MemInStream.h"
#include "engine/SzArchive.h"
#include "engine/SzArchiveApi.h"
#include "engine/SzCappedAlloc.h"
#include "engine/SzText.h"
#include "engine/UninstallWorker.h"
#include "engine/WorkerMessages.h"

#include "TestWindow.h"
#include "TestFiles.h"
#include "support/CostMeter.h"

#include "7z.h"
#include "7zCrc.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::wstring kFixtures = L"fixtures\\";
const DWORD kTimeout = 120000;

// "The worker has returned", for waits that must not outlast it.
template <class Worker>
std::function<bool()> Ended(const Worker& worker)
{
    return [&worker] { return worker.Wait(0); };
}

// A PE file carrying the archive as resource "_7Z"/"profile", loaded as data.
class ArchiveModule {
public:
    explicit ArchiveModule(const std::wstring& archive)
    {
        CreateDirectoryW((Cwd() + L"\\work").c_str(), nullptr);
        path_ = Cwd() + L"\\work\\" + archive + L".module";
        std::string bytes = ReadBytes(kFixtures + archive);
        if (bytes.empty() || !CopyFileW(L"orvo_dummy_process.exe", path_.c_str(), FALSE)) return;
        HANDLE update = BeginUpdateResourceW(path_.c_str(), FALSE);
        if (!update) return;
        UpdateResourceW(update, L"_7Z", L"profile", MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), &bytes[0],
                        static_cast<DWORD>(bytes.size()));
        if (!EndUpdateResourceW(update, FALSE)) return;
        module_ = LoadLibraryExW(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    ~ArchiveModule()
    {
        if (module_) FreeLibrary(module_);
    }
    HMODULE Get() const { return module_; }

private:
    std::wstring path_;
    HMODULE module_ = nullptr;
};

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

std::string Bytes(const SzArchiveEntry* e) { return std::string(reinterpret_cast<const char*>(e->data), e->size); }

std::wstring NormalizeBuild(const std::wstring& path)
{
    wchar_t buf[MAX_PATH] = {};
    DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH, buf, nullptr);
    return n > 0 && n < MAX_PATH ? std::wstring(buf, n) : path;
}

bool RunningUnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

// ---- memory stream ----

TEST(MemBuffer, ReadStopsAtTheEnd)
{
    const char data[] = "0123456789";
    MemBuffer b;
    b.Attach(data, 10);
    char out[16] = {};
    size_t n = 4;
    EXPECT_EQ(SZ_OK, b.Read(out, &n));
    EXPECT_EQ(4u, n);
    n = 16;
    EXPECT_EQ(SZ_OK, b.Read(out, &n));
    EXPECT_EQ(6u, n);
    EXPECT_EQ(std::string("456789"), std::string(out, 6));
    n = 16;
    EXPECT_EQ(SZ_OK, b.Read(out, &n));
    EXPECT_EQ(0u, n);
}

TEST(MemBuffer, SeekMovesFromEachOriginAndReportsThePosition)
{
    struct Case {
        Int64 start;
        Int64 offset;
        ESzSeek origin;
        SRes result;
        Int64 reported;  // also the position afterwards when result is SZ_OK
    } cases[] = {
        {0, 32, SZ_SEEK_SET, SZ_OK, 32},
        {32, 0, SZ_SEEK_CUR, SZ_OK, 32},
        {32, -2, SZ_SEEK_CUR, SZ_OK, 30},
        {32, 8, SZ_SEEK_CUR, SZ_OK, 40},
        {5, 0, SZ_SEEK_END, SZ_OK, 100},
        {5, -10, SZ_SEEK_END, SZ_OK, 90},
        {5, 20, SZ_SEEK_END, SZ_OK, 120},  // past the end, as a file allows
        {5, -1, SZ_SEEK_SET, ERROR_INVALID_PARAMETER, -1},
        {5, -6, SZ_SEEK_CUR, ERROR_INVALID_PARAMETER, -6},
        {5, 1, static_cast<ESzSeek>(3), ERROR_INVALID_PARAMETER, 1},
        {5, INT64_MAX, SZ_SEEK_END, ERROR_INVALID_PARAMETER, INT64_MAX},
    };
    std::string data(100, 'x');
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "start " << c.start << " offset " << c.offset << " origin " << c.origin);
        MemBuffer b;
        b.Attach(data.data(), data.size());
        Int64 pos = c.start;
        ASSERT_EQ(SZ_OK, b.Seek(&pos, SZ_SEEK_SET));
        Int64 offset = c.offset;
        EXPECT_EQ(c.result, b.Seek(&offset, c.origin));
        EXPECT_EQ(c.reported, offset);
        EXPECT_EQ(static_cast<size_t>(c.result == SZ_OK ? c.reported : c.start), b.Position());
    }
}

// ---- archive reader ----

TEST(SzArchive, FilesOnlyArchiveGivesOneEntryPerFileInOrder)
{
    SzArchive a;
    ASSERT_TRUE(a.OpenFromFileW(kFixtures + L"files.7z"));
    ASSERT_EQ(3u, a.GetCount());
    EXPECT_TRUE(a.GetFolders().empty());
    for (uint32_t i = 0; i < 3; ++i) EXPECT_EQ(i, a.GetEntry(i)->archiveIndex);
    EXPECT_EQ(nullptr, a.GetEntry(3));
    const SzArchiveEntry* readme = a.FindEntry(L"readme.txt");
    ASSERT_NE(nullptr, readme);
    EXPECT_EQ(ReadBytes(kFixtures + L"tree\\readme.txt"), Bytes(readme));
    EXPECT_EQ(readme, a.FindByIndex(readme->archiveIndex));
    EXPECT_EQ(nullptr, a.FindEntry(L"README.TXT"));
    EXPECT_EQ(nullptr, a.FindEntry(L"readme.tx"));
    EXPECT_EQ(nullptr, a.FindEntry(L"readme.txt "));
}

TEST(SzArchive, FolderItemsAreKeptApartFromFiles)
{
    SzArchive a;
    ASSERT_TRUE(a.OpenFromFileW(kFixtures + L"folders.7z"));
    EXPECT_EQ(6u, a.GetCount());
    EXPECT_EQ(4u, a.GetFolders().size());
    // Folder items come first, so file entries start past them.
    EXPECT_EQ(4u, a.GetEntry(0)->archiveIndex);
    const SzArchiveEntry* empty = a.FindEntry(L"bin/empty.dat");
    ASSERT_NE(nullptr, empty);
    EXPECT_EQ(0u, empty->size);
    EXPECT_EQ(nullptr, empty->data);
    const SzArchiveEntry* chinese = a.FindEntry(L"\u5ba2\u6237\u7aef/\u914d\u7f6e.ini");
    ASSERT_NE(nullptr, chinese);
    EXPECT_EQ(ReadBytes(kFixtures + L"tree\\\u5ba2\u6237\u7aef\\\u914d\u7f6e.ini"),
              Bytes(chinese));
    // Long names are kept whole.
    EXPECT_NE(nullptr, a.FindEntry(L"long/a_file_name_well_over_fifty_characters_long_for_the_reader.txt"));
}

TEST(SzArchive, DamagedOrMissingArchivesFailTheOpenAndLeaveNothing)
{
    // nonames.7z is whole, but its files have no names to install them under;
    // the alloc- archives ask for 1.6 GB in a header of a few bytes.
    const wchar_t* names[] = {L"truncated.7z", L"flipped.7z", L"nonames.7z", L"no-such-archive.7z",
                              L"tree\\readme.txt", L"alloc-packinfo.7z", L"alloc-encoded-header.7z"};
    for (const wchar_t* name : names) {
        SCOPED_TRACE(Narrow(name));
        SzArchive a;
        CostMeter cost;
        EXPECT_FALSE(a.OpenFromFileW(kFixtures + name));
        EXPECT_EQ(0u, a.GetCount());
        std::string bytes = ReadBytes(kFixtures + name);
        EXPECT_FALSE(a.OpenFromMemory(bytes.data(), bytes.size()));
        EXPECT_EQ(0u, a.GetCount());
        // A bad archive costs no more than its size allows.
        EXPECT_LT(cost.PeakRise(), (64ll << 20) + 2 * static_cast<int64_t>(bytes.size()));
        EXPECT_LT(cost.CpuMs(), 1000.0);
    }
    SzArchive a;
    EXPECT_FALSE(a.OpenFromMemory(nullptr, 0));
}

// A header that repeats its names or its times opens with the last of them;
// the decoder forgets the blocks of the first, and the reader frees them.
TEST(SzArchive, RepeatedHeaderPropertiesOpenAndLeaveNothingBehind)
{
    CrcGenerateTable();
    for (const wchar_t* name : {L"leak-names.7z", L"leak-mtime.7z"}) {
        SCOPED_TRACE(Narrow(name));
        std::string bytes = ReadBytes(kFixtures + name);
        ASSERT_FALSE(bytes.empty());
        {
            // The decoder on its own: after its free, blocks are still out.
            SzCappedAlloc alloc(SzCappedAlloc::CapFor(bytes.size(), SzArchive::kMaxUnpackedTotal));
            MemInStream stream;
            stream.buffer.Attach(bytes.data(), bytes.size());
            CLookToRead2 look;
            LookToRead2_CreateVTable(&look, False);
            std::vector<Byte> lookBuffer(1 << 14);
            look.buf = lookBuffer.data();
            look.bufSize = lookBuffer.size();
            look.realStream = &stream.vt;
            LookToRead2_INIT(&look);
            CSzArEx db;
            SzArEx_Init(&db);
            ASSERT_EQ(SZ_OK, SzArEx_Open(&db, &look.vt, alloc.Get(), alloc.Get()));
            SzArEx_Free(&db, alloc.Get());
            EXPECT_GT(alloc.Held(), 0u);
        }
        EXPECT_EQ(0, SzCappedAlloc::BlocksInProcess());
        CostMeter cost;
        for (int i = 0; i < 50; ++i) {
            SzArchive a;
            ASSERT_TRUE(a.OpenFromMemory(bytes.data(), bytes.size()));
            ASSERT_EQ(1u, a.GetCount());
            EXPECT_EQ(L"one.txt", a.GetEntry(0)->name);
        }
        EXPECT_EQ(0, SzCappedAlloc::BlocksInProcess());
        EXPECT_EQ(0, cost.Rise());
    }
}

TEST(SzArchive, OpensFromMemoryAndFromANonAsciiPath)
{
    std::string bytes = ReadBytes(kFixtures + L"bcj2.7z");
    ASSERT_FALSE(bytes.empty());
    SzArchive fromMemory;
    ASSERT_TRUE(fromMemory.OpenFromMemory(bytes.data(), bytes.size()));
    const SzArchiveEntry* app = fromMemory.FindEntry(L"app.exe");
    ASSERT_NE(nullptr, app);
    EXPECT_EQ(ReadBytes(kFixtures + L"tree\\app.exe"), Bytes(app));

    std::wstring folder = FreshFolder(L"\u5b89\u88c5 archive");
    ASSERT_TRUE(WriteBytes(folder + L"\\\u5ba2\u6237\u7aef.7z", bytes));
    SzArchive fromFile;
    ASSERT_TRUE(fromFile.OpenFromFileW(folder + L"\\\u5ba2\u6237\u7aef.7z"));
    EXPECT_EQ(fromMemory.GetCount(), fromFile.GetCount());
}

TEST(SzArchive, IndexCallsAnswerForFileEntriesOnly)
{
    SzArchive a;
    ASSERT_TRUE(a.OpenFromFileA("fixtures\\folders.7z"));
    const wchar_t* names[] = {L"readme.txt", L"bin/data.bin", L"bin/empty.dat",
                              L"\u5ba2\u6237\u7aef/\u914d\u7f6e.ini",
                              L"long/a_file_name_well_over_fifty_characters_long_for_the_reader.txt"};
    for (const wchar_t* name : names) {
        SCOPED_TRACE(Narrow(name));
        std::wstring local = kFixtures + L"tree\\" + name;
        for (wchar_t& c : local)
            if (c == L'/') c = L'\\';
        const std::string expected = ReadBytes(local);
        const SzArchiveEntry* e = a.FindEntry(name);
        ASSERT_NE(nullptr, e);
        const uint32_t index = e->archiveIndex;
        uint64_t size = 7;
        ASSERT_TRUE(a.GetEntrySize(index, &size));
        EXPECT_EQ(expected.size(), size);
        uint32_t length = 0;
        ASSERT_TRUE(a.GetNameLength(index, &length));
        EXPECT_EQ(wcslen(name) + 1, length);

        // A buffer one byte short is refused; the exact size is filled and
        // nothing past it is written.
        std::string data(expected.size() + 1, '#');
        if (!expected.empty()) {
            EXPECT_FALSE(a.CopyEntryData(index, &data[0], expected.size() - 1));
        }
        ASSERT_TRUE(a.CopyEntryData(index, &data[0], expected.size()));
        EXPECT_EQ(expected + "#", data);
        std::vector<wchar_t> nameOut(length + 1, L'#');
        EXPECT_FALSE(a.CopyEntryDataAndName(index, &data[0], expected.size(), nameOut.data(), length - 1));
        EXPECT_EQ(L'#', nameOut[0]);
        ASSERT_TRUE(a.CopyEntryDataAndName(index, &data[0], expected.size(), nameOut.data(), length));
        EXPECT_STREQ(name, nameOut.data());
        EXPECT_EQ(L'#', nameOut[length]);
    }
    // Folder items (the first four indices) and indices past the table have
    // no entry; outputs stay as they were.
    for (uint32_t index : {0u, 3u, 10u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(index);
        uint64_t size = 7;
        uint32_t length = 7;
        char data[4] = "xyz";
        wchar_t name[4] = L"xyz";
        EXPECT_FALSE(a.GetEntrySize(index, &size));
        EXPECT_FALSE(a.GetNameLength(index, &length));
        EXPECT_FALSE(a.CopyEntryData(index, data, sizeof data));
        EXPECT_FALSE(a.CopyEntryDataAndName(index, data, sizeof data, name, 4));
        EXPECT_EQ(7u, size);
        EXPECT_EQ(7u, length);
        EXPECT_STREQ("xyz", data);
        EXPECT_STREQ(L"xyz", name);
    }
    const uint32_t first = a.GetEntry(0)->archiveIndex;
    EXPECT_FALSE(a.GetEntrySize(first, nullptr));
    EXPECT_FALSE(a.GetNameLength(first, nullptr));
    EXPECT_FALSE(a.CopyEntryDataAndName(first, nullptr, 0, nullptr, 0));
}

TEST(SzArchive, OpenFromFileATakesTheSystemCodePage)
{
    ASSERT_EQ(1252u, GetACP());  // the test prefix's; the cases below are spelled in it
    std::wstring folder = FreshFolder(L"ansi archive");
    ASSERT_TRUE(WriteBytes(folder + L"\\caf\u00e9.7z", ReadBytes(kFixtures + L"files.7z")));
    std::string narrow = Narrow(folder) + "\\caf\xe9.7z";
    SzArchive a;
    ASSERT_TRUE(a.OpenFromFileA(narrow.c_str()));
    EXPECT_EQ(3u, a.GetCount());
    EXPECT_FALSE(a.OpenFromFileA(nullptr));
    EXPECT_EQ(0u, a.GetCount());
    EXPECT_FALSE(a.OpenFromFileA("fixtures\\no-such.7z"));
}

TEST(SzText, NamesConvertOnlyWhenTheCodePageSpellsThemExactly)
{
    ASSERT_EQ(1252u, GetACP());
    struct Case {
        const wchar_t* wide;
        const char* ansi;  // null: refused
    } toAnsi[] = {
        {L"bin/data.bin", "bin/data.bin"},
        {L"caf\u00e9", "caf\xe9"},
        {L"\u20ac", "\x80"},
        {L"", ""},
        {L"\u5ba2\u6237\u7aef.ini", nullptr},
        // Look-alikes of a separator and a quote, which a best fit would make real.
        {L"a\uff3cb", nullptr},
        {L"\uff02x", nullptr},
        {nullptr, nullptr},
    };
    for (const Case& c : toAnsi) {
        SCOPED_TRACE(c.wide ? Narrow(c.wide) : "(null)");
        std::unique_ptr<char[]> out = WideToAnsiAlloc(c.wide);
        if (!c.ansi) {
            EXPECT_EQ(nullptr, out.get());
            continue;
        }
        ASSERT_NE(nullptr, out.get());
        EXPECT_STREQ(c.ansi, out.get());
    }
    Case toWide[] = {
        {L"bin/data.bin", "bin/data.bin"},
        {L"caf\u00e9", "caf\xe9"},
        {L"\u20ac", "\x80"},
        {L"", ""},
        {nullptr, nullptr},
    };
    for (const Case& c : toWide) {
        SCOPED_TRACE(c.ansi ? c.ansi : "(null)");
        std::unique_ptr<wchar_t[]> out = AnsiToWideAlloc(c.ansi);
        if (!c.wide) {
            EXPECT_EQ(nullptr, out.get());
            continue;
        }
        ASSERT_NE(nullptr, out.get());
        EXPECT_STREQ(c.wide, out.get());
    }
}

TEST(SzText, WideCharsEqualComparesCountCharactersAndStopsAtTheEnd)
{
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        size_t count;
        bool equal;
    } cases[] = {
        {L"abc", L"abc", 4, true},   {L"abc", L"abd", 2, true},   {L"abc", L"abd", 3, false},
        {L"abc", L"ABC", 3, false},  {L"ab", L"abc", 3, false},   {L"abc", L"ab", 3, false},
        {L"a", L"b", 0, true},       {nullptr, L"", 0, false},    {L"", nullptr, 0, false},
        // Equal up to a shared end: nothing past the terminators is read.
        {L"ab", L"ab", 1000, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.equal, WideCharsEqual(c.a, c.b, c.count))
            << (c.a ? Narrow(c.a) : "(null)") << " / " << (c.b ? Narrow(c.b) : "(null)") << " / " << c.count;
}

TEST(SzArchiveApi, HandleCallsAnswerLookupsAndFailCleanly)
{
    std::string bytes = ReadBytes(kFixtures + L"files.7z");
    SzArchiveHandle* h = SzArchiveOpenMemory(bytes.data(), bytes.size());
    ASSERT_NE(nullptr, h);
    uint32_t count = 0, index = 99, length = 0;
    uint64_t size = 0;
    EXPECT_EQ(kSzOk, SzArchiveGetCount(h, &count));
    EXPECT_EQ(3u, count);
    ASSERT_EQ(kSzOk, SzArchiveFindW(L"bin/data.bin", h, &index, &size));
    EXPECT_EQ(70000u, size);
    EXPECT_EQ(kSzOk, SzArchiveFindA("bin/data.bin", h, &index, &size));
    EXPECT_EQ(kSzFail, SzArchiveFindW(L"BIN/DATA.BIN", h, &index, &size));
    EXPECT_EQ(kSzFail, SzArchiveFindW(L"bin/data.bi", h, &index, &size));
    EXPECT_EQ(kSzOk, SzArchiveGetNameLength(index, h, &length));
    EXPECT_EQ(13u, length);
    uint64_t entrySize = 0;
    EXPECT_EQ(kSzOk, SzArchiveGetEntrySize(index, h, &entrySize));
    EXPECT_EQ(size, entrySize);

    std::string data(70000, '\0');
    EXPECT_EQ(kSzFail, SzArchiveGetData(index, h, &data[0], 69999));
    ASSERT_EQ(kSzOk, SzArchiveGetData(index, h, &data[0], data.size()));
    EXPECT_EQ(ReadBytes(kFixtures + L"tree\\bin\\data.bin"), data);
    wchar_t name[13] = {};
    EXPECT_EQ(kSzFail, SzArchiveGetDataAndName(index, h, &data[0], data.size(), name, 12));
    EXPECT_EQ(L'\0', name[0]);
    ASSERT_EQ(kSzOk, SzArchiveGetDataAndName(index, h, &data[0], data.size(), name, 13));
    EXPECT_STREQ(L"bin/data.bin", name);

    // Unknown indices, null handles, names and out pointers all fail.
    EXPECT_EQ(kSzFail, SzArchiveGetEntrySize(77, h, &entrySize));
    EXPECT_EQ(kSzFail, SzArchiveGetCount(nullptr, &count));
    EXPECT_EQ(kSzFail, SzArchiveGetCount(h, nullptr));
    EXPECT_EQ(kSzFail, SzArchiveFindW(nullptr, h, &index, &size));
    EXPECT_EQ(kSzFail, SzArchiveGetNameLength(index, nullptr, &length));
    EXPECT_EQ(kSzOk, SzArchiveFree(h));
    EXPECT_EQ(kSzFail, SzArchiveFree(nullptr));

    std::string truncated = ReadBytes(kFixtures + L"truncated.7z");
    EXPECT_EQ(nullptr, SzArchiveOpenMemory(truncated.data(), truncated.size()));
    SzArchiveHandle* reused = SzArchiveOpenFileW(L"fixtures\\files.7z", nullptr);
    ASSERT_NE(nullptr, reused);
    reused = SzArchiveOpenFileA("fixtures\\bcj2.7z", reused);
    ASSERT_NE(nullptr, reused);
    EXPECT_EQ(kSzOk, SzArchiveGetCount(reused, &count));
    EXPECT_EQ(2u, count);
    // A failed open frees the handle it was given.
    EXPECT_EQ(nullptr, SzArchiveOpenFileW(L"fixtures\\no-such.7z", reused));
}

// ---- install worker ----

TEST(InstallWorker, EntryNamesThatLeaveTheFolderAreRefused)
{
    struct Case {
        const wchar_t* name;
        bool safe;
    } cases[] = {
        {L"readme.txt", true},       {L"bin/data.bin", true},  {L"bin\\data.bin", true},
        {L"a..b/c", true},           {L".hidden", true},       {L"", false},
        {L"/etc/passwd", false},     {L"\\windows\\x", false}, {L"C:\\x", false},
        {L"C:x", false},             {L"a:b", false},          {L"a/b:stream", false},
        {L"../x", false},            {L"a/../../x", false},    {L"a\\..\\x", false},
        {L"..", false},              {L"a/./b", false},        {L"a//b", false},
        {L"a/", false},              {L"\\\\server\\share\\x", false},
        {L"NUL", false},             {L"bin/nul.txt", false},  {L"Con", false},
        {L"COM1.log", false},        {L"lpt9", false},         {L"COM10", true},
        {L"console.txt", true},      {L"a./b", false},         {L".. /x", false},
        {L"x.", false},              {L"x ", false},           {L"nul .txt", false},
        {L"bin/Con  .log", false},   {L"COM\u00b9", false},    {L"lpt\u00b3.log", false},
        {L"bin/Com\u00b2 .txt", false}, {L"COM\u00b9\u00b9", true}, {L"COM\u2074", true},
    };
    for (const Case& c : cases) EXPECT_EQ(c.safe, IsSafeEntryName(c.name)) << Narrow(c.name);
}

TEST(InstallWorker, WriteArchiveEntryBuildsThePathAndReportsEachFailure)
{
    const std::wstring folder = FreshFolder(L"write-entry");
    std::wstring slashed = folder;
    for (wchar_t& c : slashed)
        if (c == L'\\') c = L'/';
    ASSERT_EQ(kExtractOk, WriteArchiveEntry(slashed + L"//", L"a/b/c.txt", "abc", 3));
    EXPECT_EQ("abc", ReadBytes(folder + L"\\a\\b\\c.txt"));
    ASSERT_EQ(kExtractOk, WriteArchiveEntry(folder, L"a\\empty", "", 0));
    EXPECT_TRUE(Exists(folder + L"\\a\\empty"));
    EXPECT_EQ("", ReadBytes(folder + L"\\a\\empty"));
    // A file where a folder must go, and a folder where the file must go.
    EXPECT_EQ(kFolderFailed, WriteArchiveEntry(folder, L"a/b/c.txt/d.txt", "d", 1));
    EXPECT_EQ(kCreateFailed, WriteArchiveEntry(folder, L"a/b", "b", 1));
    EXPECT_EQ(kCreateFailed, WriteArchiveEntry(folder, L"../escape.txt", "x", 1));
    EXPECT_FALSE(Exists(Cwd() + L"\\work\\escape.txt"));
    // A folder that is not a full path would put files wherever the current
    // folder (or, for an empty one, the drive root) happens to be.
    RemoveTree(Cwd() + L"\\work\\write-entry-relative");
    EXPECT_EQ(kFolderFailed, WriteArchiveEntry(L"work\\write-entry-relative", L"r.txt", "r", 1));
    EXPECT_FALSE(Exists(Cwd() + L"\\work\\write-entry-relative"));
}

TEST(InstallWorker, OneWriterForManyEntriesRemembersOnlyFoldersThatExist)
{
    const std::wstring folder = FreshFolder(L"entry-writer");
    CEntryWriter writer(folder + L"\\");
    ASSERT_TRUE(writer.Usable());
    struct Case {
        const wchar_t* name;
        ExtractResult result;
    } cases[] = {
        {L"a/b/c.txt", kExtractOk},    {L"a/b/d.txt", kExtractOk},    {L"a/bc/e.txt", kExtractOk},
        {L"a/b", kCreateFailed},       {L"a/b/c.txt/f.txt", kFolderFailed},
        {L"a/x", kExtractOk},          {L"a/x/y.txt", kFolderFailed},  // a file where a folder must go
        {L"../g.txt", kCreateFailed},  {L"a/b/d.txt", kExtractOk},
    };
    for (const Case& c : cases) EXPECT_EQ(c.result, writer.Write(c.name, "bytes", 5)) << Narrow(c.name);
    EXPECT_EQ(kExtractOk, writer.MakeFolder(L"empty/inner"));
    EXPECT_TRUE(Exists(folder + L"\\empty\\inner"));
    EXPECT_EQ("bytes", ReadBytes(folder + L"\\a\\bc\\e.txt"));
    EXPECT_EQ("bytes", ReadBytes(folder + L"\\a\\x"));

    CEntryWriter relative(L"work\\entry-writer-relative");
    EXPECT_FALSE(relative.Usable());
    EXPECT_EQ(kFolderFailed, relative.Write(L"r.txt", "r", 1));
    EXPECT_EQ(kFolderFailed, relative.MakeFolder(L"r"));
    EXPECT_FALSE(Exists(Cwd() + L"\\work\\entry-writer-relative"));
}

// An earlier install's file is replaced only by a new file written whole:
// never written through (a hard link shares its bytes with a file outside
// the folder), and kept as it was when the new bytes cannot all be written.
TEST(InstallWorker, EarlierFilesAreReplacedOnlyByWholeNewOnes)
{
    const std::wstring outside = FreshFolder(L"replace-outside") + L"\\theirs.txt";
    for (bool hardLink : {false, true}) {
        SCOPED_TRACE(hardLink ? "hard link" : "plain file");
        const std::wstring folder = FreshFolder(L"replace-earlier");
        const std::wstring file = folder + L"\\OrvoMain.exe";
        if (hardLink) {
            ASSERT_TRUE(WriteBytes(outside, "not ours"));
            ASSERT_TRUE(CreateHardLinkW(file.c_str(), outside.c_str(), nullptr)) << GetLastError();
        } else {
            ASSERT_TRUE(WriteBytes(file, "earlier launcher"));
        }
        EXPECT_EQ(kExtractOk, WriteArchiveEntry(folder, L"OrvoMain.exe", "new launcher", 12));
        EXPECT_EQ((std::map<std::wstring, std::string>{{L"OrvoMain.exe", "new launcher"}}), ReadTree(folder));
        if (hardLink) { EXPECT_EQ("not ours", ReadBytes(outside)); }
    }

    // Bytes that fail part way, as on a full disk: the first MiB can be
    // read, the second cannot.
    const std::wstring folder = FreshFolder(L"replace-failing");
    ASSERT_TRUE(WriteBytes(folder + L"\\OrvoMain.exe", "earlier launcher"));
    const SIZE_T mib = 1 << 20;
    auto* bytes = static_cast<unsigned char*>(VirtualAlloc(nullptr, 2 * mib, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    ASSERT_NE(nullptr, bytes);
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(bytes + mib, mib, PAGE_NOACCESS, &old));
    EXPECT_EQ(kWriteFailed, WriteArchiveEntry(folder, L"OrvoMain.exe", bytes, 2 * mib));
    EXPECT_EQ(kWriteFailed, WriteArchiveEntry(folder, L"bin/new.dll", bytes, 2 * mib));
    VirtualFree(bytes, 0, MEM_RELEASE);
    EXPECT_EQ((std::map<std::wstring, std::string>{{L"OrvoMain.exe", "earlier launcher"}, {L"bin\\", ""}}),
              ReadTree(folder));
}

// Runs the worker on a fixture into a fresh folder until it reports.
struct InstallRun {
    std::wstring folder;
    std::unique_ptr<TestWindow> window;
    bool done = false;
};

InstallRun Install(const std::wstring& archive, DWORD pauseMs = 0)
{
    InstallRun run;
    run.folder = FreshFolder(L"install-" + archive);
    run.window.reset(new TestWindow);
    ArchiveModule module(archive);
    EXPECT_NE(nullptr, module.Get());
    CInstallWorker worker(module.Get(), run.folder, run.window->Handle(), pauseMs);
    EXPECT_TRUE(worker.Start());
    run.done = run.window->PumpUntil(kMsgInstallDone, kTimeout, Ended(worker));
    EXPECT_TRUE(worker.Wait(kTimeout));
    run.window->PumpFor(50);
    return run;
}

TEST(InstallWorker, EveryFixtureInstallsTheTreeThat7zzExtracts)
{
    // blocks.7z: entries of every block stay whole while later blocks decode.
    for (const wchar_t* archive : {L"files.7z", L"folders.7z", L"bcj2.7z", L"blocks.7z"}) {
        SCOPED_TRACE(Narrow(archive));
        SzArchive reader;
        ASSERT_TRUE(reader.OpenFromFileW(kFixtures + archive));
        InstallRun run = Install(archive);
        ASSERT_TRUE(run.done);
        const size_t n = reader.GetCount();
        std::vector<PostedMessage> expected;
        for (size_t i = 0; i < n; ++i) expected.push_back({kMsgInstallProgress, n, static_cast<LPARAM>(i)});
        expected.push_back({kMsgInstallDone, 0, 0});
        EXPECT_EQ(expected, run.window->Messages());
        auto want = ReadTree(Cwd() + L"\\" + kFixtures + L"expected\\" + archive);
        auto got = ReadTree(run.folder);
        ASSERT_FALSE(want.empty());
        EXPECT_EQ(want.size(), got.size());
        for (const auto& file : want) {
            auto it = got.find(file.first);
            ASSERT_NE(got.end(), it) << Narrow(file.first);
            EXPECT_TRUE(it->second == file.second) << Narrow(file.first);
        }
    }
}

TEST(InstallWorker, InstallsTheClientThatTheSetupProgramCarries)
{
    // The test runs in <build>\tests\setup.
    const std::wstring build = NormalizeBuild(Cwd() + L"\\..\\..");
    HMODULE setup = LoadLibraryExW((build + L"\\setup\\OrvoSetup.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, setup) << GetLastError();
    std::wstring folder = FreshFolder(L"install-client");
    TestWindow window;
    {
        CInstallWorker worker(setup, folder, window.Handle(), 0);
        ASSERT_TRUE(worker.Start());
        ASSERT_TRUE(window.PumpUntil(kMsgInstallDone, kTimeout, Ended(worker)));
    }
    FreeLibrary(setup);
    EXPECT_EQ((PostedMessage{kMsgInstallDone, 0, 0}), window.Messages().back());
    EXPECT_EQ(2u, window.Count(kMsgInstallProgress));
    for (const wchar_t* program : {L"\\updater\\OrvoMain.exe", L"\\setup\\OrvoUninstall.exe"}) {
        std::wstring built = build + program;
        std::string bytes = ReadBytes(built);
        ASSERT_FALSE(bytes.empty()) << Narrow(built);
        EXPECT_TRUE(bytes == ReadBytes(folder + built.substr(built.rfind(L'\\')))) << Narrow(built);
    }
}

TEST(InstallWorker, PausesBeforeEachEntryAndReplacesExistingFiles)
{
    std::wstring folder = FreshFolder(L"install-files.7z");
    ASSERT_TRUE(WriteBytes(folder + L"\\readme.txt", "old text that is longer than nothing"));
    TestWindow window;
    ArchiveModule module(L"files.7z");
    CInstallWorker worker(module.Get(), folder, window.Handle());
    const DWORD start = GetTickCount();
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(window.PumpUntil(kMsgInstallDone, kTimeout, Ended(worker)));
    EXPECT_GE(GetTickCount() - start, 3 * 100u - 20);
    EXPECT_EQ(3u, window.Count(kMsgInstallProgress));
    EXPECT_EQ(ReadBytes(kFixtures + L"tree\\readme.txt"), ReadBytes(folder + L"\\readme.txt"));
}

TEST(InstallWorker, BrokenArchivesNeverReportSuccess)
{
    struct Case {
        const wchar_t* archive;
        WPARAM error;
    } cases[] = {
        {L"truncated.7z", kEntryMissing},     {L"flipped.7z", kEntryMissing},
        {L"hostile-dotdot.7z", kCreateFailed}, {L"hostile-parent.7z", kCreateFailed},
        {L"hostile-absolute.7z", kCreateFailed}, {L"hostile-slash.7z", kCreateFailed},
        {L"hostile-drive.7z", kCreateFailed}, {L"hostile-stream.7z", kCreateFailed},
        {L"hostile-superscript.7z", kCreateFailed}, {L"deep.7z", kCreateFailed},
    };
    std::wstring outside = Cwd() + L"\\work";
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.archive));
        InstallRun run = Install(c.archive);
        ASSERT_TRUE(run.done);
        ASSERT_EQ(1u, run.window->Count(kMsgInstallDone));
        EXPECT_EQ((PostedMessage{kMsgInstallDone, c.error, 0}), run.window->Messages().back());
        // Nothing lands beside or above the install folder.
        EXPECT_FALSE(Exists(outside + L"\\XXXX.txt"));
        EXPECT_FALSE(Exists(outside + L"\\.txt"));
        EXPECT_FALSE(Exists(Cwd() + L"\\XXXX.txt"));
        EXPECT_FALSE(Exists(L"C:\\XXXXXXXXX.txt"));
        EXPECT_FALSE(Exists(L"\\XXXXXXXXX.txt"));
        for (const auto& file : ReadTree(run.folder)) {
            EXPECT_EQ(std::wstring::npos, file.first.find(L"XXX")) << Narrow(file.first);
            EXPECT_EQ(std::wstring::npos, file.first.find(L"fff")) << Narrow(file.first);
        }
    }
}

TEST(InstallWorker, ALockedTargetFailsAfterThreeAttempts)
{
    std::wstring folder = FreshFolder(L"install-locked");
    CreateDirectoryW((folder + L"\\bin").c_str(), nullptr);
    HANDLE lock = CreateFileW((folder + L"\\bin\\data.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    SzArchive reader;
    ASSERT_TRUE(reader.OpenFromFileW(kFixtures + L"files.7z"));
    size_t lockedAt = reader.FindEntry(L"bin/data.bin") - reader.GetEntry(0);
    TestWindow window;
    ArchiveModule module(L"files.7z");
    CInstallWorker worker(module.Get(), folder, window.Handle(), 0);
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(window.PumpUntil(kMsgInstallDone, kTimeout, Ended(worker)));
    CloseHandle(lock);
    EXPECT_EQ(3 * lockedAt, window.Count(kMsgInstallProgress));
    EXPECT_EQ((PostedMessage{kMsgInstallDone, kCreateFailed, 0}), window.Messages().back());
}

// An install that fails or is stopped takes back what it added, over all
// its attempts, and leaves what stood in the folder before.
TEST(InstallWorker, AnUnfinishedInstallTakesBackOnlyWhatItAdded)
{
    for (bool stop : {false, true}) {
        SCOPED_TRACE(stop ? "stopped" : "failed");
        const std::wstring folder = FreshFolder(L"install-undo");
        ASSERT_TRUE(CreateDirectoryW((folder + L"\\bin").c_str(), nullptr));
        ASSERT_TRUE(WriteBytes(folder + L"\\bin\\data.bin", "earlier"));
        ASSERT_TRUE(WriteBytes(folder + L"\\bin\\old.dll", "earlier"));
        ASSERT_TRUE(WriteBytes(folder + L"\\mine.txt", "the user's"));
        const auto before = ReadTree(folder);
        // A file held open, so every attempt fails at it.
        HANDLE lock = stop ? INVALID_HANDLE_VALUE
                           : CreateFileW((folder + L"\\bin\\data.bin").c_str(), GENERIC_READ, 0, nullptr,
                                         OPEN_EXISTING, 0, nullptr);
        ASSERT_EQ(stop, lock == INVALID_HANDLE_VALUE);
        TestWindow window;
        ArchiveModule module(L"folders.7z");
        CInstallWorker worker(module.Get(), folder, window.Handle(), stop ? 300 : 0);
        ASSERT_TRUE(worker.Start());
        if (stop) {
            ASSERT_TRUE(window.PumpUntil(kMsgInstallProgress, kTimeout, Ended(worker)));
            worker.Stop();
        } else {
            ASSERT_TRUE(window.PumpUntil(kMsgInstallDone, kTimeout, Ended(worker)));
            ASSERT_TRUE(worker.Wait(kTimeout));
            CloseHandle(lock);
            EXPECT_EQ((PostedMessage{kMsgInstallDone, kCreateFailed, 0}), window.Messages().back());
        }
        EXPECT_GT(ReadTree(folder).size(), before.size()) << "nothing was written before the end";
        worker.RemoveAdded();
        EXPECT_EQ(before, ReadTree(folder));
    }
}

TEST(InstallWorker, NoArchiveResourceFailsWithEntryMissing)
{
    std::wstring folder = FreshFolder(L"install-none");
    TestWindow window;
    CInstallWorker worker(GetModuleHandleW(nullptr), folder, window.Handle(), 0);
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(window.PumpUntil(kMsgInstallDone, kTimeout, Ended(worker)));
    EXPECT_EQ(std::vector<PostedMessage>{(PostedMessage{kMsgInstallDone, kEntryMissing, 0})}, window.Messages());
}

TEST(InstallWorker, StopsBetweenEntriesWithoutReporting)
{
    std::wstring folder = FreshFolder(L"install-stop");
    TestWindow window;
    ArchiveModule module(L"folders.7z");
    CInstallWorker worker(module.Get(), folder, window.Handle(), 300);
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(window.PumpUntil(kMsgInstallProgress, kTimeout, Ended(worker)));
    worker.Stop();
    window.PumpFor(400);
    EXPECT_EQ(0u, window.Count(kMsgInstallDone));
    EXPECT_LT(window.Count(kMsgInstallProgress), 6u);
}

// ---- uninstall worker ----

// A small installed tree: 2 files on top, 3 in a sub-folder, and what the
// removal must leave: a dot file, a dot folder.
std::wstring MakeInstalledTree(const std::wstring& name)
{
    std::wstring root = FreshFolder(name);
    CreateDirectoryW((root + L"\\sub").c_str(), nullptr);
    CreateDirectoryW((root + L"\\.cache").c_str(), nullptr);
    for (const wchar_t* file : {L"\\OrvoMain.exe", L"\\readme.txt", L"\\sub\\a.dat", L"\\sub\\b.dat", L"\\sub\\c.dat",
                                L"\\sub\\.keep", L"\\.cache\\blob"})
        WriteBytes(root + file, "x");
    return root;
}

TEST(UninstallWorker, DeletesEveryFileWithOneProgressMessageEachAndKeepsDotNames)
{
    std::wstring root = MakeInstalledTree(L"remove-plain");
    EXPECT_EQ(5u, CountFilesRecursive(root));
    TestWindow window;
    CUninstallWorker worker(root, window.Handle());
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(window.PumpUntil(kMsgUninstallDone, kTimeout, Ended(worker)));
    std::vector<PostedMessage> expected;
    for (LPARAM i = 1; i <= 5; ++i) expected.push_back({kMsgUninstallProgress, 5, i});
    expected.push_back({kMsgUninstallDone, kUninstallOk, 0});
    EXPECT_EQ(expected, window.Messages());
    auto left = ReadTree(root);
    std::map<std::wstring, std::string> kept = {
        {L".cache\\", ""}, {L".cache\\blob", "x"}, {L"sub\\", ""}, {L"sub\\.keep", "x"}};
    EXPECT_EQ(kept, left);
}

TEST(UninstallWorker, LeavesHeldFilesAndNeverFollowsALink)
{
    // The fixture step makes this tree, its link included, before each run.
    const std::wstring root = Cwd() + L"\\" + kFixtures + L"remove-link";
    const std::wstring outside = Cwd() + L"\\" + kFixtures + L"remove-link-outside";
    DWORD link = GetFileAttributesW((root + L"\\link").c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, link);
    ASSERT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_REPARSE_POINT), link & FILE_ATTRIBUTE_REPARSE_POINT);
    HANDLE held = CreateFileW((root + L"\\held.dll").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    TestWindow window;
    CUninstallWorker worker(root, window.Handle(), 0);
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(window.PumpUntil(kMsgUninstallDone, kTimeout, Ended(worker)));
    CloseHandle(held);
    EXPECT_EQ(3u, window.Count(kMsgUninstallProgress));
    EXPECT_EQ("keep me", ReadBytes(outside + L"\\precious.txt"));
    // Windows removes the link itself; Wine 8 cannot remove a host link at all.
    if (!RunningUnderWine()) {
        EXPECT_FALSE(Exists(root + L"\\link"));
    }
    EXPECT_FALSE(Exists(root + L"\\plain.txt"));
    EXPECT_TRUE(Exists(root + L"\\held.dll"));
}

TEST(UninstallWorker, SkipsPathsBeyondTheLimitInsteadOfCuttingThem)
{
    const std::wstring root = FreshFolder(L"remove-deep");
    ASSERT_TRUE(WriteBytes(root + L"\\a.txt", "x"));
    // A folder that can still be named, holding a file that cannot.
    const std::wstring deep = root + L"\\" + std::wstring(MAX_PATH - 5 - root.size(), L'd');
    const std::wstring beyond = L"\\\\?\\" + deep + L"\\file_beyond_the_limit.txt";
    ASSERT_LT(deep.size(), static_cast<size_t>(MAX_PATH));
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr)) << GetLastError();
    ASSERT_TRUE(WriteBytes(beyond, "kept"));
    EXPECT_EQ(1u, CountFilesRecursive(root));
    TestWindow window;
    CUninstallWorker worker(root, window.Handle(), 0);
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(window.PumpUntil(kMsgUninstallDone, kTimeout, Ended(worker)));
    EXPECT_EQ((std::vector<PostedMessage>{{kMsgUninstallProgress, 1, 1}, {kMsgUninstallDone, kUninstallOk, 0}}),
              window.Messages());
    EXPECT_FALSE(Exists(root + L"\\a.txt"));
    EXPECT_EQ("kept", ReadBytes(beyond));
    DeleteFileW(beyond.c_str());
    RemoveDirectoryW((L"\\\\?\\" + deep).c_str());
}

TEST(UninstallWorker, RefusesEmptyPathsAndDriveRoots)
{
    for (const wchar_t* folder : {L"", L"Q:\\", L"Q:", L"relative\\folder"}) {
        SCOPED_TRACE(Narrow(folder));
        TestWindow window;
        CUninstallWorker worker(folder, window.Handle(), 0);
        ASSERT_TRUE(worker.Start());
        ASSERT_TRUE(window.PumpUntil(kMsgUninstallDone, kTimeout, Ended(worker)));
        EXPECT_EQ(std::vector<PostedMessage>{(PostedMessage{kMsgUninstallDone, kUninstallRefused, 0})},
                  window.Messages());
    }
}

TEST(UninstallWorker, StopsBetweenFilesWithoutReporting)
{
    std::wstring root = MakeInstalledTree(L"remove-stop");
    TestWindow window;
    CUninstallWorker worker(root, window.Handle(), 300);
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(window.PumpUntil(kMsgUninstallProgress, kTimeout, Ended(worker)));
    worker.Stop();
    window.PumpFor(400);
    EXPECT_EQ(0u, window.Count(kMsgUninstallDone));
    EXPECT_LT(window.Count(kMsgUninstallProgress), 5u);
    EXPECT_TRUE(Exists(root));
}

}  // namespace
