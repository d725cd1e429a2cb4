// The client's header first: it brings Winsock in before the rest of Windows.
#include "NBTCPClient.h"

#include "DownloadWriter.h"
#include "FsPath.h"

CDownloadWriter::CDownloadWriter(size_t blockSize, size_t blockCount) : m_blockSize(blockSize)
{
    for (size_t i = 0; i < blockCount; ++i) {
        m_storage.push_back(std::unique_ptr<char[]>(new char[blockSize]));
        m_free.push_back(m_storage.back().get());
    }
    m_thread = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
}

CDownloadWriter::~CDownloadWriter()
{
    if (!m_thread)
        return;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_stopping = true;
    }
    m_queued.notify_one();
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
}

DWORD WINAPI CDownloadWriter::ThreadProc(void* self)
{
    static_cast<CDownloadWriter*>(self)->Run();
    return 0;
}

void CDownloadWriter::Run()
{
    for (;;) {
        std::unique_lock<std::mutex> hold(m_lock);
        m_queued.wait(hold, [this] { return !m_queue.empty() || m_stopping; });
        if (m_queue.empty())
            return;
        Item item = std::move(m_queue.front());
        m_queue.pop_front();
        hold.unlock();
        Process(item);
    }
}

void CDownloadWriter::Push(Item item)
{
    if (!m_thread) {
        Process(item);
        return;
    }
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_queue.push_back(std::move(item));
    }
    m_queued.notify_one();
}

CDownloadWriter::Ticket CDownloadWriter::Begin(const std::string& path)
{
    Ticket file = std::make_shared<File>(path);
    Push(Item{Item::kOpen, file, nullptr, 0});
    return file;
}

char* CDownloadWriter::Acquire()
{
    std::unique_lock<std::mutex> hold(m_lock);
    m_returned.wait(hold, [this] { return !m_free.empty(); });
    char* block = m_free.back();
    m_free.pop_back();
    return block;
}

void CDownloadWriter::Release(char* block)
{
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_free.push_back(block);
    }
    m_returned.notify_all();
}

void CDownloadWriter::Submit(const Ticket& file, char* block, size_t size)
{
    Push(Item{Item::kData, file, block, size});
}

void CDownloadWriter::End(const Ticket& file) { Push(Item{Item::kEnd, file, nullptr, 0}); }

bool CDownloadWriter::Failed(const Ticket& file) const { return file->m_failed; }

bool CDownloadWriter::Done(const Ticket& file)
{
    std::lock_guard<std::mutex> hold(m_lock);
    return file->m_done;
}

CDownloadWriter::Outcome CDownloadWriter::Wait(const Ticket& file)
{
    std::unique_lock<std::mutex> hold(m_lock);
    m_returned.wait(hold, [&file] { return file->m_done; });
    return file->m_outcome;
}

void CDownloadWriter::Process(const Item& item)
{
    File& file = *item.file;
    switch (item.kind) {
    case Item::kOpen:
        Open(file);
        break;
    case Item::kData:
        if (!file.m_failed)
            Write(file, item.block, item.size);
        Release(item.block);
        break;
    case Item::kEnd:
        Finish(file);
        break;
    }
}

void CDownloadWriter::Open(File& file)
{
    // Replacing a file in place spares the search of the folder that
    // removing it first and creating it again would cost.
    const char* path = file.m_path.c_str();
    file.m_handle = FsCreateFile(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    if (file.m_handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED && RemoveFile(path))
        file.m_handle = FsCreateFile(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    if (file.m_handle == INVALID_HANDLE_VALUE) {
        file.m_outcome.step = Outcome::kCreateFailed;
        file.m_outcome.error = GetLastError();
        file.m_failed = true;
    }
}

void CDownloadWriter::Write(File& file, const char* data, size_t size)
{
    file.m_digest.Update(data, size);
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(file.m_handle, data, DWORD(size), &written, nullptr) || written == 0) {
            file.m_outcome.step = Outcome::kWriteFailed;
            file.m_outcome.error = GetLastError();
            file.m_failed = true;
            return;
        }
        data += written;
        size -= written;
    }
}

void CDownloadWriter::Finish(File& file)
{
    if (file.m_handle != INVALID_HANDLE_VALUE) {
        // Errors held back by the file system show up at the close.
        if (!CloseHandle(file.m_handle) && !file.m_failed) {
            file.m_outcome.step = Outcome::kWriteFailed;
            file.m_outcome.error = GetLastError();
            file.m_failed = true;
        }
        if (file.m_failed)
            RemoveFile(file.m_path.c_str());
        file.m_handle = INVALID_HANDLE_VALUE;
    }
    if (!file.m_failed) {
        file.m_digest.Finalize();
        file.m_digest.FormatHexDigest(file.m_outcome.digest);
    }
    {
        std::lock_guard<std::mutex> hold(m_lock);
        file.m_done = true;
    }
    m_returned.notify_all();
}
