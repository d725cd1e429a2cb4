// Digests of local files worked out ahead on a few threads and handed out in
// the order they were asked for, so checking a large client reads files on
// every core while the results still arrive one by one, in order.
#pragma once
#include <windows.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "Md5.h"

class CLocalDigests
{
public:
    struct Result
    {
        FileDigest status = FileDigest::Missing;
        char hex[33] = {};
    };

    // Starts up to threads workers (at least one is asked for); when none can
    // be started, Take works the digest out itself.
    explicit CLocalDigests(unsigned threads);
    // Waits for the digests being worked on; the rest are not started.
    ~CLocalDigests();
    CLocalDigests(const CLocalDigests&) = delete;
    CLocalDigests& operator=(const CLocalDigests&) = delete;

    void Add(const std::string& path);
    // The result of the oldest path not taken yet, waiting for it; a Missing
    // result when nothing is waiting.
    Result Take();

private:
    struct Job
    {
        std::string path;
        Result result;
        bool done = false;
    };

    static DWORD WINAPI ThreadProc(void* self);
    void Run();

    std::mutex m_lock;
    std::condition_variable m_added;     // workers wait for a job
    std::condition_variable m_finished;  // Take waits for its job
    std::deque<Job> m_jobs;  // oldest first; a job stays put while worked on
    size_t m_started = 0;    // the first m_started jobs are being or have been worked on
    bool m_stopping = false;
    std::vector<HANDLE> m_threads;
};
