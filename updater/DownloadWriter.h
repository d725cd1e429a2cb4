// Writes downloads to their files and digests them on a thread of its own, so
// the receiving thread never waits for the disk or the digest.
#pragma once
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Md5.h"

class CDownloadWriter
{
public:
    // What became of a file once the writer is done with it.
    struct Outcome
    {
        enum Step { kWritten, kCreateFailed, kWriteFailed } step = kWritten;
        DWORD error = 0;        // system error of the failed step
        char digest[33] = {};   // MD5 of every byte written; kWritten only
    };
    class File;
    using Ticket = std::shared_ptr<File>;

    // Bytes travel in blockCount blocks of blockSize bytes: a receiver that
    // gets ahead waits for a free one, which bounds the memory held.
    CDownloadWriter(size_t blockSize, size_t blockCount);
    // Finishes what is queued, then ends the thread.
    ~CDownloadWriter();
    CDownloadWriter(const CDownloadWriter&) = delete;
    CDownloadWriter& operator=(const CDownloadWriter&) = delete;

    size_t BlockSize() const { return m_blockSize; }

    // Starts a file at path, replacing one of that name (a read-only one
    // too). One that cannot be made ends with kCreateFailed; its bytes are
    // taken and dropped.
    Ticket Begin(const std::string& path);
    // A free block; waits while every block is queued.
    char* Acquire();
    // Queues the first size bytes of a block from Acquire for the file; the
    // block returns to the pool once they are written.
    void Submit(const Ticket& file, char* block, size_t size);
    // Returns a block from Acquire unused.
    void Release(char* block);
    // After the file's last bytes: closes it and finishes its digest. A file
    // that failed is removed.
    void End(const Ticket& file);
    // True once a step of the file has failed; never waits.
    bool Failed(const Ticket& file) const;
    // True once the file has been ended and its outcome is known; never waits.
    bool Done(const Ticket& file);
    // Waits until the file has been ended and gives its outcome.
    Outcome Wait(const Ticket& file);

private:
    struct Item
    {
        enum Kind { kOpen, kData, kEnd } kind;
        Ticket file;
        char* block;
        size_t size;
    };

    static DWORD WINAPI ThreadProc(void* self);
    void Run();
    // Queues the item, or does it at once when no thread could be started.
    void Push(Item item);
    void Process(const Item& item);
    void Open(File& file);
    void Write(File& file, const char* data, size_t size);
    void Finish(File& file);

    const size_t m_blockSize;
    std::vector<std::unique_ptr<char[]>> m_storage;
    std::mutex m_lock;
    std::condition_variable m_queued;    // the thread waits for work
    std::condition_variable m_returned;  // callers wait for a free block or a finished file
    std::vector<char*> m_free;
    std::deque<Item> m_queue;
    bool m_stopping = false;
    HANDLE m_thread = nullptr;
};

class CDownloadWriter::File
{
public:
    explicit File(std::string path) : m_path(std::move(path)) {}

private:
    friend class CDownloadWriter;
    const std::string m_path;
    HANDLE m_handle = INVALID_HANDLE_VALUE;  // writer thread only
    MD5 m_digest;                           // writer thread only
    Outcome m_outcome;                      // complete once m_done is set
    std::atomic<bool> m_failed{false};
    bool m_done = false;                    // under the writer's lock
};
