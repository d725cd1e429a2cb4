// The install wizard's helpers on their own: the space an archive needs,
// read from its header alone; the space of a folder's own volume; and the
// checks a typed folder must pass before anything is written.
#include "InstallFolder.h"
#include "InstallSpace.h"
#include "TestFiles.h"

#include "syshelpers/RegistryEntries.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::wstring Fixture(const std::wstring& name) { return Cwd() + L"\\install_fixtures\\" + name; }

TEST(InstallSpace, ArchiveSizesComeFromTheHeader)
{
    struct Case {
        const wchar_t* archive;
        bool opens;
        const wchar_t* sizeFile;  // the expected total, as the fixture script wrote it
    } cases[] = {
        {L"sizes.7z", true, L"sizes.size"},  // folders and an empty file add nothing
        {L"huge.7z", true, L"huge.size"},    // 1 PiB claimed, 5 bytes there: never decoded
        {L"sizes-truncated.7z", false, nullptr},
        {L"garbage.7z", false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.archive, c.archive + wcslen(c.archive)));
        const std::string bytes = ReadBytes(Fixture(c.archive));
        ASSERT_FALSE(bytes.empty());
        uint64_t total = 7;
        EXPECT_EQ(c.opens, ReadArchiveUnpackedSize(bytes.data(), bytes.size(), &total));
        if (c.opens) {
            EXPECT_EQ(std::strtoull(ReadBytes(Fixture(c.sizeFile)).c_str(), nullptr, 10), total);
        } else {
            EXPECT_EQ(7u, total) << "a failed read changed the total";
        }
    }
    uint64_t total = 7;
    EXPECT_FALSE(ReadArchiveUnpackedSize(nullptr, 10, &total));
    EXPECT_FALSE(ReadClientArchiveSize(GetModuleHandleW(nullptr), &total)) << "this test carries no archive";
    EXPECT_EQ(7u, total);

    // Whole MiB rounded down, plus 2.
    EXPECT_EQ(2u, RequiredMiB(0));
    EXPECT_EQ(2u, RequiredMiB(1048575));
    EXPECT_EQ(3u, RequiredMiB(1048576));
    EXPECT_EQ((1ull << 30) + 2, RequiredMiB(1ull << 50));
}

TEST(InstallSpace, AvailableSpaceIsTheFolderVolumes)
{
    ULARGE_INTEGER cFree, shmFree;
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"C:\\", &cFree, nullptr, nullptr));
    const uint64_t slack = 512ull << 20;  // other programs write meanwhile
    uint64_t bytes = 0;
    // A folder that does not exist yet, two levels deep, is on its drive's volume.
    ASSERT_TRUE(GetAvailableBytes(L"C:\\not\\there\\yet", &bytes));
    EXPECT_NEAR(static_cast<double>(cFree.QuadPart), static_cast<double>(bytes), static_cast<double>(slack));
    EXPECT_TRUE(GetAvailableBytes(L"C:/windows/", &bytes));

    for (const wchar_t* bad : {L"", L"relative\\folder", L"Q:\\no\\such\\drive"}) {
        bytes = 7;
        EXPECT_FALSE(GetAvailableBytes(bad, &bytes)) << std::string(bad, bad + wcslen(bad));
        EXPECT_EQ(7u, bytes);
    }

    // A folder mounted inside a drive (the host's /dev/shm under Z:) has its own volume's space,
    // not the drive's.
    ULARGE_INTEGER zFree;
    if (!GetDiskFreeSpaceExW(L"Z:\\dev\\shm\\", &shmFree, nullptr, nullptr) ||
        !GetDiskFreeSpaceExW(L"Z:\\", &zFree, nullptr, nullptr) ||
        (shmFree.QuadPart > zFree.QuadPart ? shmFree.QuadPart - zFree.QuadPart : zFree.QuadPart - shmFree.QuadPart) <
            4 * slack)
        GTEST_SKIP() << "no mounted folder of another size here";
    ASSERT_TRUE(GetAvailableBytes(L"Z:\\dev\\shm\\orvo-not-made\\Orvoesports", &bytes));
    EXPECT_NEAR(static_cast<double>(shmFree.QuadPart), static_cast<double>(bytes), static_cast<double>(slack));
}

TEST(InstallFolder, DefaultAndChosenFolders)
{
    wchar_t programs[MAX_PATH] = {};
    ASSERT_TRUE(GetEnvironmentVariableW(L"ProgramFiles", programs, MAX_PATH));
    EXPECT_EQ(std::wstring(programs) + L"\\Orvoesports", DefaultInstallFolder());
    EXPECT_EQ(L"D:\\Games\\Orvoesports", InstallFolderUnder(L"D:\\Games\\\\"));
    EXPECT_EQ(L"D:\\Orvoesports", InstallFolderUnder(L"D:\\"));
}

TEST(InstallFolder, OnlyNewEmptyOrEarlierInstallFoldersAreTaken)
{
    const std::wstring root = FreshFolder(L"install-folders");
    CreateDirectoryW((root + L"\\empty").c_str(), nullptr);
    CreateDirectoryW((root + L"\\others").c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(root + L"\\others\\photo.jpg", "canary"));
    CreateDirectoryW((root + L"\\earlier").c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(root + L"\\earlier\\OrvoMain.exe", "MZ"));
    ASSERT_TRUE(WriteBytes(root + L"\\earlier\\config.ini", "x"));
    CreateDirectoryW((root + L"\\registered").c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(root + L"\\registered\\data.bin", "x"));
    ASSERT_TRUE(WriteBytes(root + L"\\a-file", "x"));
    // What an install cut in its first file leaves, and a user's look-alike.
    CreateDirectoryW((root + L"\\cut").c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(root + L"\\cut\\orv1A2F.tmp", "half"));
    CreateDirectoryW((root + L"\\look-alike").c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(root + L"\\look-alike\\orvnotes.tmp", "mine"));
    UninstallInfo info;
    info.uninstallerPath = root + L"/registered/OrvoUninstall.exe";
    ASSERT_EQ(ERROR_SUCCESS, WriteUninstallKey(info));

    struct Case {
        std::wstring folder;
        FolderCheck result;
        bool created;
    } cases[] = {
        {root + L"\\new", FolderCheck::kReady, true},
        {root + L"\\empty", FolderCheck::kReady, false},
        {root + L"\\earlier", FolderCheck::kReady, false},
        {root + L"\\REGISTERED\\", FolderCheck::kReady, false},  // named as registered, in other letters
        {root + L"\\others", FolderCheck::kHoldsOtherFiles, false},
        {root + L"\\cut", FolderCheck::kReady, false},
        {root + L"\\look-alike", FolderCheck::kHoldsOtherFiles, false},
        {root + L"\\missing\\Orvoesports", FolderCheck::kCannotCreate, false},
        {root + L"\\a-file", FolderCheck::kCannotCreate, false},
        {L"relative\\Orvoesports", FolderCheck::kCannotCreate, false},
        {L"", FolderCheck::kCannotCreate, false},
        {L"C:\\", FolderCheck::kHoldsOtherFiles, false},
        {L"C:\\windows", FolderCheck::kHoldsOtherFiles, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.folder.begin(), c.folder.end()));
        bool created = !c.created;
        std::wstring full = L"unchanged";
        EXPECT_EQ(c.result, PrepareInstallFolder(c.folder, &created, &full));
        EXPECT_EQ(c.created, created);
        if (c.result == FolderCheck::kReady) {
            EXPECT_EQ(GetFileAttributesW(full.c_str()) & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
            EXPECT_NE(L'\\', full.back());
        } else {
            EXPECT_EQ(L"unchanged", full);
        }
    }
    // A folder typed with a short name in its path is registered by its
    // full name: short names may be stripped from a volume later.
    wchar_t shortRoot[MAX_PATH] = {};
    ASSERT_NE(0u, GetShortPathNameW(root.c_str(), shortRoot, MAX_PATH));
    ASSERT_NE(root, shortRoot);
    bool created = false;
    std::wstring full;
    EXPECT_EQ(FolderCheck::kReady, PrepareInstallFolder(std::wstring(shortRoot) + L"\\by-short-name", &created, &full));
    EXPECT_TRUE(created);
    EXPECT_EQ(root + L"\\by-short-name", full);

    EXPECT_FALSE(Exists(root + L"\\missing")) << "a missing parent was made";
    EXPECT_EQ("canary", ReadBytes(root + L"\\others\\photo.jpg"));
    EXPECT_TRUE(IsEarlierInstall(root + L"\\earlier"));
    EXPECT_FALSE(IsEarlierInstall(root + L"\\others"));
    EXPECT_EQ(ERROR_SUCCESS, DeleteUninstallKey());
    EXPECT_FALSE(IsEarlierInstall(root + L"\\registered"));
}

}  // namespace
