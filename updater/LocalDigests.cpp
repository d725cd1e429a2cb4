#include "LocalDigests.h"

CLocalDigests::CLocalDigests(unsigned threads)
{
    for (unsigned i = 0; i < threads; ++i) {
        HANDLE thread = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
        if (!thread)
            break;
        m_threads.push_back(thread);
    }
}

CLocalDigests::~CLocalDigests()
{
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_stopping = true;
    }
    m_added.notify_all();
    for (HANDLE thread : m_threads) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
}

DWORD WINAPI CLocalDigests::ThreadProc(void* self)
{
    static_cast<CLocalDigests*>(self)->Run();
    return 0;
}

void CLocalDigests::Run()
{
    std::unique_lock<std::mutex> hold(m_lock);
    for (;;) {
        m_added.wait(hold, [this] { return m_started < m_jobs.size() || m_stopping; });
        if (m_stopping)
            return;
        // Jobs added at the back or taken from the front leave the others of a
        // deque where they are, so this one can be worked on without the lock.
        Job& job = m_jobs[m_started++];
        hold.unlock();
        Result result;
        result.status = DigestFile(job.path.c_str(), result.hex);
        hold.lock();
        job.result = result;
        job.done = true;
        m_finished.notify_one();
    }
}

void CLocalDigests::Add(const std::string& path)
{
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_jobs.push_back(Job{path, Result(), false});
    }
    m_added.notify_one();
}

CLocalDigests::Result CLocalDigests::Take()
{
    std::unique_lock<std::mutex> hold(m_lock);
    if (m_jobs.empty())
        return Result();
    Job& front = m_jobs.front();
    if (m_started == 0) {
        // Nobody has it yet: working it out here is as quick as waiting.
        ++m_started;
        hold.unlock();
        front.result.status = DigestFile(front.path.c_str(), front.result.hex);
        hold.lock();
        front.done = true;
    }
    m_finished.wait(hold, [&front] { return front.done; });
    Result result = front.result;
    m_jobs.pop_front();
    --m_started;
    return result;
}
