// The update engine's helper threads and records: the download writer, the
// local digests, steps run at once and the pending swaps.
#include <gtest/gtest.h>

#include <atomic>
#include <set>

#include "DownloadWriter.h"
#include "LocalDigests.h"
#include "ParallelSteps.h"
#include "PendingSwaps.h"
#include "TestRelease.h"

namespace {

std::string Pattern(size_t size, int seed)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = char(i * 131 + i / 977 + seed);
    return bytes;
}

// Hands a whole file to the writer in blocks, as the receiving side does.
CDownloadWriter::Ticket Queue(CDownloadWriter& writer, const std::string& path, const std::string& bytes)
{
    CDownloadWriter::Ticket file = writer.Begin(path);
    for (size_t at = 0; at < bytes.size();) {
        char* block = writer.Acquire();
        size_t n = std::min(writer.BlockSize(), bytes.size() - at);
        memcpy(block, bytes.data() + at, n);
        writer.Submit(file, block, n);
        at += n;
    }
    writer.End(file);
    return file;
}

} // namespace

TEST(DownloadWriter, EachFileGetsItsOwnOutcome)
{
    // disk-full.bin is a link to a device that takes no byte (made by the
    // test fixture): creating it works, every write fails.
    HANDLE probe = CreateFileA("disk-full.bin", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(probe, INVALID_HANDLE_VALUE) << "fixture link missing";
    CloseHandle(probe);
    MakeFolders("pipe");
    const std::string a = Pattern(600000, 1), b = Pattern(300000, 2), c = Pattern(70000, 3);
    CDownloadWriter writer(64 * 1024, 3);
    // All three are queued before any outcome is asked for, as the update
    // loop does while it receives the next file.
    auto first = Queue(writer, "pipe/a.bin", a);
    auto full = Queue(writer, "disk-full.bin", b);
    auto missing = Queue(writer, "pipe/no/such/folder/x.bin", c);
    auto last = Queue(writer, "pipe/c.bin", c);

    CDownloadWriter::Outcome outcome = writer.Wait(first);
    EXPECT_EQ(outcome.step, CDownloadWriter::Outcome::kWritten);
    EXPECT_EQ(std::string(outcome.digest), Md5Of(a));
    EXPECT_EQ(ReadFileBytes("pipe/a.bin"), a);

    outcome = writer.Wait(full);
    EXPECT_EQ(outcome.step, CDownloadWriter::Outcome::kWriteFailed);
    EXPECT_EQ(outcome.error, DWORD(ERROR_DISK_FULL));
    EXPECT_TRUE(writer.Failed(full));
    EXPECT_FALSE(PathExists("disk-full.bin"));  // a failed file is removed

    outcome = writer.Wait(missing);
    EXPECT_EQ(outcome.step, CDownloadWriter::Outcome::kCreateFailed);
    EXPECT_EQ(outcome.error, DWORD(ERROR_PATH_NOT_FOUND));

    outcome = writer.Wait(last);
    EXPECT_EQ(outcome.step, CDownloadWriter::Outcome::kWritten);
    EXPECT_FALSE(writer.Failed(last));
    EXPECT_EQ(std::string(outcome.digest), Md5Of(c));
    EXPECT_EQ(ReadFileBytes("pipe/c.bin"), c);
}

TEST(DownloadWriter, ReplacesAnOldFileOfTheSameName)
{
    MakeFolders("pipe");
    WriteFileBytes("pipe/old.bin", std::string(100000, 'o'));
    ASSERT_TRUE(SetFileAttributesA("pipe/old.bin", FILE_ATTRIBUTE_READONLY));
    CDownloadWriter writer(4096, 2);
    auto file = Queue(writer, "pipe/old.bin", "new");
    EXPECT_EQ(writer.Wait(file).step, CDownloadWriter::Outcome::kWritten);
    EXPECT_EQ(ReadFileBytes("pipe/old.bin"), "new");
}

TEST(LocalDigests, ResultsComeInTheOrderAsked)
{
    MakeFolders("digests/folder");
    std::vector<std::string> paths;
    std::vector<std::string> expected;
    for (int i = 0; i < 40; ++i) {
        std::string path = "digests/f" + std::to_string(i) + ".bin";
        if (i % 7 == 3) {
            DeleteFileA(path.c_str());
            expected.push_back("missing");
        } else {
            std::string bytes = Pattern(size_t(i % 5) * 70000 + size_t(i), i);
            WriteFileBytes(path, bytes);
            expected.push_back(Md5Of(bytes));
        }
        paths.push_back(path);
    }
    paths.push_back("digests/folder");
    expected.push_back("cannot open");
    for (unsigned threads : {4u, 0u}) {
        CLocalDigests digests(threads);
        for (const std::string& path : paths)
            digests.Add(path);
        for (size_t i = 0; i < paths.size(); ++i) {
            CLocalDigests::Result r = digests.Take();
            std::string got = r.status == FileDigest::Ok          ? std::string(r.hex)
                              : r.status == FileDigest::Missing   ? "missing"
                              : r.status == FileDigest::CannotOpen ? "cannot open"
                                                                   : "read failed";
            EXPECT_EQ(got, expected[i]) << paths[i] << " with " << threads << " threads";
        }
        EXPECT_EQ(digests.Take().status, FileDigest::Missing);  // nothing left
    }
}

TEST(ParallelSteps, NoStepStartsAfterOneFails)
{
    // Step 10 fails only once every other thread is inside a later step, and
    // those steps outlast it: none of the threads may then take a further index.
    for (unsigned threads : {1u, 4u}) {
        std::atomic<int> ran{0};
        std::atomic<unsigned> inFlight{0};
        std::vector<std::atomic<bool>> seen(1000);
        RunInParallel(seen.size(), threads, [&](size_t i) {
            seen[i] = true;
            ++ran;
            if (i > 10) {
                ++inFlight;
                Sleep(1000);
            }
            for (DWORD start = GetTickCount(); i == 10 && inFlight < threads - 1 && GetTickCount() - start < 20000;)
                Sleep(1);
            return i != 10;
        });
        for (size_t i = 0; i <= 10; ++i)
            EXPECT_TRUE(seen[i]) << i;
        EXPECT_EQ(ran.load(), int(11 + threads - 1)) << threads;
    }
    std::atomic<int> all{0};
    RunInParallel(500, 8, [&](size_t) { return ++all, true; });
    EXPECT_EQ(all.load(), 500);
}

TEST(PendingSwaps, OneRecordPerTargetInTheOrderFirstRecorded)
{
    PendingSwaps pending;
    struct Case { const char* target; const char* temp; const char* superseded; };
    const Case cases[] = {
        {"inst/p/a.txt", "inst/p/a.txt_1.orvobak", ""},
        {"inst/p/b.txt", "inst/p/b.txt_1.orvobak", ""},
        {"INST\\P\\A.TXT", "inst/p/A.TXT_2.orvobak", "inst/p/a.txt_1.orvobak"},
        {"inst/p/./b.txt", "inst/p/b.txt_1.orvobak", ""},  // the same download again
        {"inst/p/c.txt", "inst/p/c.txt_1.orvobak", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pending.Add(c.target, c.temp), c.superseded) << c.target;
    std::vector<std::pair<std::string, std::string>> records;
    for (const auto& record : pending)
        records.push_back({record->target, record->temp});
    std::vector<std::pair<std::string, std::string>> expected = {{"inst/p/a.txt", "inst/p/A.TXT_2.orvobak"},
                                                                 {"inst/p/b.txt", "inst/p/b.txt_1.orvobak"},
                                                                 {"inst/p/c.txt", "inst/p/c.txt_1.orvobak"}};
    EXPECT_EQ(records, expected);
    pending.Clear();
    EXPECT_TRUE(pending.Empty());
    EXPECT_EQ(pending.Add("inst/p/a.txt", "t"), "");
}
