// The launcher-updater's network and logging layer: a blocking IPv4 TCP
// client with a minimal HTTP/1.1 GET (into memory or into a file, following
// redirects), a file digest and two daily log files.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "DailyLog.h"
#include "DownloadWriter.h"
#include "HttpUrl.h"
#include "PendingSwaps.h"
#include "RequestDeadline.h"

// Results of the GET members besides a body length.
enum HttpResult
{
    kHttpNetFail = -1,    // connection, name, send or receive failure, early close, digest mismatch
    kHttpBadStatus = -2,  // neither 200 nor a followed redirect
    kHttpNoLength = -3,   // 200 without a usable length header
    kHttpTooLarge = -4,   // body does not fit the caller's buffer
    kHttpFileFail = -5,   // a local file could not be made, written or swapped
};

class CNBTCPClient
{
public:
    CNBTCPClient();
    virtual ~CNBTCPClient();
    CNBTCPClient(const CNBTCPClient&) = delete;
    CNBTCPClient& operator=(const CNBTCPClient&) = delete;

    // Starts Winsock 2.2 and makes a fresh socket with the given time-out for
    // sends and receives (0 = none). 0 when either fails.
    int Init(int timeoutSeconds);
    // 1 once connected, -1 (error stored and logged) when not, also when the
    // peer does not answer within the time-out.
    int Connect(unsigned long address, unsigned short port);
    int ConnectHost(const char* host, unsigned short port, bool resolve);
    // Sends every byte: the count, or -1 when a send fails.
    int Send(const char* data, int length);
    // One receive: the count (0 when the peer closed), or -1.
    int Recv(char* buffer, int size);
    int Close();
    // A new socket connected to the last peer, with the receive time-out:
    // 1, 0 (no socket) or -1 (not connected).
    int Reconnect();
    bool IsConnected() const { return m_connected != INVALID_SOCKET; }
    SOCKET GetConnectedSocket() const { return m_connected; }
    int GetStatusCode() const { return m_status; }
    int GetLastErrorCode() const { return m_lastError; }

    // Makes the requests of any thread fail (-1, WSAEINTR) from now on: a
    // receive under way wakes up with its socket shut down, later requests
    // fail before they connect. Safe from any thread; for closing the
    // program while a worker runs. There is no way back.
    void Abort();
    bool IsAborted() const { return m_aborted; }
    // A body must bring RequestDeadline's minimum rate within every window
    // of this length (30 s unless set; 0: no window), or the request fails
    // as too slow. Applies only with a time-out.
    void SetRateWindow(DWORD milliseconds) { m_rateWindowMs = milliseconds; }

    // GET url into buffer (the body plus a NUL must fit size): the body length
    // or an HttpResult. Redirects are followed up to 5 hops. With a time-out,
    // each response must arrive within it plus its length at 4 KiB a second,
    // and its body at that rate within every rate window (kHttpNetFail,
    // WSAETIMEDOUT stored, when it does not).
    int HTTPGet(const char* url, char* buffer, int size);
    // GET url into folder/name (name null: the URL's last path segment, else a
    // time stamp), checking the digest when md5 is given. replaceMode 0 records
    // a PendingReplace, otherwise the file is swapped in at once. The body
    // length or an HttpResult; nothing is left behind on failure.
    int HTTPGetFile(const char* url, const char* folder, const char* name, const char* md5, int replaceMode);
    // 32 lowercase hex digits and a NUL into out; false (logged) when the file
    // cannot be read.
    bool GetFileMD5(const char* path, char* out);

    // Raw transfers on the connected socket. SendFile gives the size sent,
    // 0 for an empty file, -1 when the file cannot be read or a send fails.
    int SendFile(const char* path);
    // As SendFile at about rateKBps kilobytes a second (twenty blocks a
    // second); a rate below 1 gives -1.
    int SendFileThrottled(const char* path, int rateKBps);
    // Writes the next length bytes (fewer when the peer closes) to path: the
    // count, 0 when the file cannot be made, -1 when a receive fails.
    int RecvFile(const char* path, int length);

    virtual void Log(const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)));
    virtual void LogError(const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)));
    virtual void OnFileName(const char* name);
    virtual void OnProgress(int total, int received);
    virtual void OnRecvError() {}
    virtual void OnRecvOk() {}
    virtual void OnConnected() {}
    virtual void OnSendDone() {}

protected:
    // A body received in full whose bytes may still be on their way to disk.
    struct FileDownload
    {
        std::string path;  // the target
        std::string temp;
        std::string md5;   // expected digest; empty: not checked
        int length = 0;
        CDownloadWriter::Ticket file;
    };

    int StoreLastError();
    // The first part of HTTPGetFile: receives the body and hands it to the
    // writer thread without waiting for it. The body length, or an HttpResult
    // (then nothing is left behind and download is untouched).
    int FetchFile(const char* url, const char* folder, const char* name, const char* md5, FileDownload& download);
    // The rest: waits for the download to be on disk, checks its digest and
    // records it for the swap (replaceMode 0) or swaps it in. The length, or
    // an HttpResult with the temporary file removed.
    int FinishFile(FileDownload& download, int replaceMode);
    // Waits for the download and removes its temporary file.
    void DiscardFile(FileDownload& download);
    // True once the download is on disk (or failed to get there); never waits.
    bool IsWritten(const FileDownload& download) const;

    // Records temp (empty: a deletion) for the swap into path, removing a
    // download it supersedes.
    void RecordPending(const char* path, const char* temp);

    PendingSwaps m_pending;

private:
    class BodySink;
    class MemorySink;
    class FileSink;

    int ConnectToPeer();
    // Makes a socket for the next request: false (error stored) when that
    // fails or the client was aborted.
    bool NewSocket();
    // Connects to the stored peer, giving up after seconds (0 = never): false
    // with the error stored (WSAETIMEDOUT once the time is up).
    bool ConnectWithin(int seconds);
    int OpenRequest(const HttpUrl& url);
    // One receive that gives up (-1, WSAETIMEDOUT stored) at the deadline.
    int RecvWithin(const RequestDeadline& deadline, char* buffer, int size);
    // Waits until the socket has something to read: false (error set, not
    // stored) when the time-out or deadline passes or the client is aborted.
    bool WaitReadable(const RequestDeadline& deadline);
    // The whole response, head and body, within a RequestDeadline.
    int ReceiveResponse(BodySink& sink, bool toFile);
    bool NextHop(HttpUrl& url, int& hops);
    // The response to a sent request into buffer: as HTTPGet, without redirects.
    int HTTPGetRecv(char* buffer, int size);
    // The response to a sent request into a temporary file beside path: as
    // FetchFile, without redirects.
    int HTTPGetRecvFile(const char* path, const char* md5, FileDownload& download);
    int SwapInNow(const char* path, const char* temp);
    int SendFileBlocks(const char* path, int blockSize, DWORD pauseMs);
    void WriteLog(DailyLog& log, const char* format, va_list args);

    int m_lastError = 0;
    int m_status = 0;
    char m_redirect[1024] = {};
    SOCKET m_socket = INVALID_SOCKET;
    sockaddr_in m_peer = {};
    SOCKET m_connected = INVALID_SOCKET;
    int m_timeout = 0;
    DWORD m_rateWindowMs = RequestDeadline::kRateWindowMs;
    std::atomic<bool> m_aborted{false};
    std::mutex m_socketLock;  // the socket between its owner and Abort
    bool m_wsaStarted = false;
    std::vector<char> m_block;
    std::unique_ptr<CDownloadWriter> m_writer;  // made with the first file GET
    DailyLog m_infoLog{"UpdateLog"};
    DailyLog m_errorLog{"UpdateLogError"};
};

// Formats into out[size]; false when the text does not fit (out is then empty).
bool FormatBounded(char* out, size_t size, const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 3, 4)));

// Deletes a file, clearing its read-only mark first (a backup keeps the mark
// of the file it was renamed from). False when the file is still there.
bool RemoveFile(const char* path);

// Size of a regular file, -1 for anything else.
long long GetFileSize(const char* path);

// "YYYYMMDDhhmmss" of the local time.
std::string LocalTimeStamp();
