#include "NBTCPClient.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "FsPath.h"
#include "HttpResponseHead.h"
#include "Md5.h"
#include "RequestDeadline.h"

namespace {

// Large receives with a large socket buffer keep a loopback or LAN download
// from paying one system round trip per few kilobytes.
const int kBlockSize = 256 * 1024;
const int kReceiveBuffer = 4 * 1024 * 1024;
// Blocks in flight between receiving and the writer thread.
const size_t kWriterBlocks = 16;
const int kMaxRedirects = 5;
const int kPathSize = 256;

bool IsRedirect(int status) { return status >= 300 && status <= 305; }

bool FileExists(const char* path) { return FsAttributes(path) != INVALID_FILE_ATTRIBUTES; }

} // namespace

bool FormatBounded(char* out, size_t size, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int n = vsnprintf(out, size, format, args);
    va_end(args);
    if (n < 0 || size_t(n) >= size) {
        if (size)
            out[0] = 0;
        return false;
    }
    return true;
}

bool RemoveFile(const char* path)
{
    DWORD attributes = FsAttributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        FsSetAttributes(path, attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    return FsDelete(path);
}

long long GetFileSize(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (!GetFileAttributesExW(WideFromUtf8(path).c_str(), GetFileExInfoStandard, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
        return -1;
    return (long long)info.nFileSizeHigh << 32 | info.nFileSizeLow;
}

std::string LocalTimeStamp()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    char text[32];
    snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
             t.wSecond);
    return text;
}

// Where a response body goes.
class CNBTCPClient::BodySink
{
public:
    virtual ~BodySink() = default;
    // Called once the length is known: 0 to go on, or an HttpResult.
    virtual int Begin(int length) = 0;
    // Where the next receive of up to size bytes goes; size may shrink.
    virtual char* Space(int& size) = 0;
    // The first size bytes of the last Space arrived: false when they cannot be kept.
    virtual bool Commit(int size) = 0;
    // Called after the last byte: 0 or an HttpResult.
    virtual int End() = 0;

    bool Write(const char* data, int length)
    {
        while (length > 0) {
            int n = length;
            memcpy(Space(n), data, n);
            if (!Commit(n))
                return false;
            data += n;
            length -= n;
        }
        return true;
    }
};

class CNBTCPClient::MemorySink : public BodySink
{
public:
    MemorySink(CNBTCPClient& client, char* buffer, int size) : m_client(client), m_buffer(buffer), m_size(size) {}
    int Begin(int length) override
    {
        // One byte stays free for the terminator.
        if (length >= m_size) {
            m_client.LogError("body of %d bytes does not fit a buffer of %d", length, m_size);
            return kHttpTooLarge;
        }
        return 0;
    }
    // The announced length fits, so bytes go straight into the caller's buffer.
    char* Space(int&) override { return m_buffer + m_used; }
    bool Commit(int size) override
    {
        m_used += size;
        return true;
    }
    int End() override
    {
        m_buffer[m_used] = 0;
        return 0;
    }

private:
    CNBTCPClient& m_client;
    char* m_buffer;
    int m_size;
    int m_used = 0;
};

// Hands the body to the writer thread in whole blocks; the writer makes the
// temporary file, writes and digests it. A file once begun must be handed on.
class CNBTCPClient::FileSink : public BodySink
{
public:
    FileSink(CDownloadWriter& writer, const char* temp) : m_writer(writer), m_temp(temp) {}
    ~FileSink() override
    {
        if (m_block)
            m_writer.Release(m_block);
    }
    int Begin(int) override
    {
        m_file = m_writer.Begin(m_temp);
        return 0;
    }
    char* Space(int& size) override
    {
        if (!m_block)
            m_block = m_writer.Acquire();
        int room = int(m_writer.BlockSize() - m_used);
        if (size > room)
            size = room;
        return m_block + m_used;
    }
    bool Commit(int size) override
    {
        m_used += size;
        if (size_t(m_used) == m_writer.BlockSize())
            Flush();
        return !m_writer.Failed(m_file);
    }
    int End() override
    {
        Flush();
        m_writer.End(m_file);
        m_ended = true;
        return 0;
    }
    bool Started() const { return m_file != nullptr; }
    // Ends the file if need be and hands it on.
    CDownloadWriter::Ticket Hand()
    {
        if (!m_ended)
            End();
        return std::move(m_file);
    }

private:
    void Flush()
    {
        if (m_block && m_used)
            m_writer.Submit(m_file, m_block, size_t(m_used));
        else if (m_block)
            m_writer.Release(m_block);
        m_block = nullptr;
        m_used = 0;
    }

    CDownloadWriter& m_writer;
    const char* m_temp;
    CDownloadWriter::Ticket m_file;
    char* m_block = nullptr;
    int m_used = 0;
    bool m_ended = false;
};

CNBTCPClient::CNBTCPClient() : m_block(kBlockSize) {}

CNBTCPClient::~CNBTCPClient()
{
    Close();
    if (m_wsaStarted)
        WSACleanup();
}

int CNBTCPClient::StoreLastError()
{
    m_lastError = WSAGetLastError();
    return m_lastError;
}

int CNBTCPClient::Init(int timeoutSeconds)
{
    if (!m_wsaStarted) {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
            return 0;
        m_wsaStarted = true;
        if (data.wVersion != MAKEWORD(2, 2))
            return 0;
    }
    Close();
    if (!NewSocket())
        return 0;
    m_timeout = timeoutSeconds;
    // A smaller buffer only slows receiving, so a refusal is not an error.
    setsockopt(m_socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&kReceiveBuffer), sizeof kReceiveBuffer);
    if (timeoutSeconds) {
        DWORD ms = DWORD(timeoutSeconds) * 1000;
        setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms);
        setsockopt(m_socket, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms);
    }
    return 1;
}

int CNBTCPClient::Connect(unsigned long address, unsigned short port)
{
    m_peer = {};
    m_peer.sin_family = AF_INET;
    m_peer.sin_port = htons(port);
    m_peer.sin_addr.s_addr = address;
    return ConnectToPeer();
}

int CNBTCPClient::ConnectToPeer()
{
    if (!ConnectWithin(m_timeout)) {
        LogError("TCPC connect fail %d", m_lastError);
        return -1;
    }
    m_connected = m_socket;
    OnConnected();
    return 1;
}

bool CNBTCPClient::ConnectWithin(int seconds)
{
    const sockaddr* peer = reinterpret_cast<const sockaddr*>(&m_peer);
    if (!seconds) {
        if (connect(m_socket, peer, sizeof m_peer) == 0)
            return true;
        StoreLastError();
        return false;
    }
    // A blocking connect waits as long as the system likes; a peer that
    // drops the handshake must not hold the update for minutes.
    u_long nonBlocking = 1;
    if (ioctlsocket(m_socket, FIONBIO, &nonBlocking) != 0) {
        StoreLastError();
        return false;
    }
    bool ok = connect(m_socket, peer, sizeof m_peer) == 0;
    if (!ok && WSAGetLastError() == WSAEWOULDBLOCK) {
        fd_set writable, failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(m_socket, &writable);
        FD_SET(m_socket, &failed);
        timeval limit = {seconds, 0};
        int ready = select(0, nullptr, &writable, &failed, &limit);
        int error = 0;
        int size = sizeof error;
        if (ready == 0)
            error = WSAETIMEDOUT;
        else if (ready < 0 || getsockopt(m_socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0)
            error = WSAGetLastError();
        else if (!error && FD_ISSET(m_socket, &failed))
            error = WSAECONNREFUSED;
        WSASetLastError(error);
        ok = error == 0;
    }
    if (!ok) {
        StoreLastError();
        return false;
    }
    u_long blocking = 0;
    if (ioctlsocket(m_socket, FIONBIO, &blocking) != 0) {
        StoreLastError();
        return false;
    }
    return true;
}

int CNBTCPClient::ConnectHost(const char* host, unsigned short port, bool resolve)
{
    if (!resolve) {
        unsigned long address = inet_addr(host);
        if (address == INADDR_NONE) {
            LogError("TCPC bad address %s", host);
            return -1;
        }
        return Connect(address, port);
    }
    hostent* entry = gethostbyname(host);
    if (!entry) {
        LogError("gethostbyname failed:%d", StoreLastError());
        return -1;
    }
    if (entry->h_addrtype != AF_INET || !entry->h_addr_list[0]) {
        LogError("gethostbyname not af_inet failed:%d", StoreLastError());
        return -1;
    }
    unsigned long address;
    memcpy(&address, entry->h_addr_list[0], sizeof address);
    return Connect(address, port);
}

int CNBTCPClient::Send(const char* data, int length)
{
    int sent = 0;
    while (sent < length) {
        int n = send(m_socket, data + sent, length - sent, 0);
        if (n == SOCKET_ERROR) {
            LogError("TCPC send fail %d", StoreLastError());
            return -1;
        }
        sent += n;
    }
    OnSendDone();
    return sent;
}

int CNBTCPClient::Recv(char* buffer, int size)
{
    int n = recv(m_socket, buffer, size, 0);
    if (n == SOCKET_ERROR) {
        LogError("TCPC recv fail %d", StoreLastError());
        OnRecvError();
        return -1;
    }
    OnRecvOk();
    return n;
}

bool CNBTCPClient::NewSocket()
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    if (s == INVALID_SOCKET) {
        StoreLastError();
        return false;
    }
    // A program started later (the client) must not hold the connection open.
    SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
    {
        std::lock_guard<std::mutex> hold(m_socketLock);
        m_socket = s;
    }
    // Checked after publishing the socket: Abort either saw it or set the
    // flag before this read.
    if (m_aborted) {
        Close();
        WSASetLastError(WSAEINTR);
        StoreLastError();
        return false;
    }
    return true;
}

void CNBTCPClient::Abort()
{
    m_aborted = true;
    std::lock_guard<std::mutex> hold(m_socketLock);
    if (m_socket != INVALID_SOCKET)
        shutdown(m_socket, SD_BOTH);
}

int CNBTCPClient::Close()
{
    std::lock_guard<std::mutex> hold(m_socketLock);
    if (m_socket != INVALID_SOCKET)
        closesocket(m_socket);
    m_socket = INVALID_SOCKET;
    m_connected = INVALID_SOCKET;
    return 1;
}

int CNBTCPClient::Reconnect()
{
    Close();
    if (!NewSocket())
        return 0;
    if (m_timeout) {
        DWORD ms = DWORD(m_timeout) * 1000;
        setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms);
    }
    return ConnectToPeer();
}

int CNBTCPClient::SendFile(const char* path) { return SendFileBlocks(path, 1024, 0); }

int CNBTCPClient::SendFileThrottled(const char* path, int rateKBps)
{
    if (rateKBps < 1) {
        LogError("TCPC send %s bad rate %d", path, rateKBps);
        return -1;
    }
    long long block = (long long)rateKBps * 1024 / 20;
    return SendFileBlocks(path, int(block < kBlockSize ? block : kBlockSize), 50);
}

int CNBTCPClient::SendFileBlocks(const char* path, int blockSize, DWORD pauseMs)
{
    FILE* file = FsOpen(path, L"rb");
    if (!file) {
        LogError("TCPC send %s is NULL", path);
        return -1;
    }
    long long size = GetFileSize(path);
    if (size <= 0 || size > INT_MAX) {
        LogError("TCPC send %s len 0", path);
        fclose(file);
        return 0;
    }
    std::vector<char> block(blockSize);
    int whole = int(size / blockSize), rest = int(size % blockSize);
    for (int i = 0; i <= whole; ++i) {
        int n = i < whole ? blockSize : rest;
        if (n == 0)
            break;
        if (fread(block.data(), 1, n, file) != size_t(n) || Send(block.data(), n) < 0) {
            if (i < whole)
                LogError("TCPC send %s %d %d %d fail", path, int(size), i, blockSize);
            else
                LogError("TCPC send %s %d %d fail", path, int(size), rest);
            fclose(file);
            return -1;
        }
        if (pauseMs && i < whole)
            Sleep(pauseMs);
    }
    fclose(file);
    return int(size);
}

int CNBTCPClient::RecvFile(const char* path, int length)
{
    FILE* file = FsOpen(path, L"wb");
    if (!file)
        return 0;
    int received = 0;
    while (received < length) {
        int want = length - received < kBlockSize ? length - received : kBlockSize;
        int n = Recv(m_block.data(), want);
        if (n < 0) {
            LogError("TCPC recv file %s fail", path);
            fclose(file);
            return -1;
        }
        if (n == 0)
            break;
        fwrite(m_block.data(), 1, n, file);
        received += n;
    }
    fclose(file);
    return received;
}

int CNBTCPClient::OpenRequest(const HttpUrl& url)
{
    // Every request goes over a fresh connection.
    if (!Init(m_timeout)) {
        LogError("TCPC socket fail %d", m_lastError);
        return kHttpNetFail;
    }
    if (ConnectHost(url.host.c_str(), (unsigned short)url.port, !url.numeric) != 1)
        return kHttpNetFail;
    char request[4096];
    if (!FormatBounded(request, sizeof request, "GET /%s HTTP/1.1\r\nHost: %s\r\nUser-Agent: OrvoNetwork\r\n\r\n",
                       url.path.c_str(), url.host.c_str())) {
        LogError("TCPC request too long for %s", url.host.c_str());
        return kHttpNetFail;
    }
    return Send(request, int(strlen(request))) < 0 ? kHttpNetFail : 1;
}

int CNBTCPClient::RecvWithin(const RequestDeadline& deadline, char* buffer, int size)
{
    if (m_aborted) {
        WSASetLastError(WSAEINTR);
        LogError("TCPC recv fail %d: aborted", StoreLastError());
        OnRecvError();
        return -1;
    }
    if (deadline.Limited()) {
        DWORD left = deadline.MsLeft();
        if (left == 0) {
            WSASetLastError(WSAETIMEDOUT);
            LogError("TCPC recv fail %d: the response is too slow", StoreLastError());
            OnRecvError();
            return -1;
        }
        // The socket's own time-out must not carry a receive past the deadline.
        if (left < DWORD(m_timeout) * 1000)
            setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&left), sizeof left);
    }
    if (!WaitReadable(deadline)) {
        LogError("TCPC recv fail %d", StoreLastError());
        OnRecvError();
        return -1;
    }
    return Recv(buffer, size);
}

bool CNBTCPClient::WaitReadable(const RequestDeadline& deadline)
{
    // A blocking receive is not woken by Abort everywhere: the wait runs in
    // slices, each ending early when data (or the peer's close) arrives.
    const DWORD limit = m_timeout ? DWORD(m_timeout) * 1000 : INFINITE;
    const DWORD start = GetTickCount();
    for (;;) {
        if (m_aborted) {
            WSASetLastError(WSAEINTR);
            return false;
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_socket, &readable);
        timeval slice = {0, 200 * 1000};
        int ready = select(0, &readable, nullptr, nullptr, &slice);
        if (ready != 0)
            return true;  // data, a close or an error: the receive tells which
        const DWORD waited = GetTickCount() - start;
        if ((limit != INFINITE && waited >= limit) || (deadline.Limited() && deadline.MsLeft() == 0)) {
            WSASetLastError(WSAETIMEDOUT);
            return false;
        }
    }
}

int CNBTCPClient::ReceiveResponse(BodySink& sink, bool toFile)
{
    RequestDeadline deadline(m_timeout, m_rateWindowMs);
    char* block = m_block.data();
    int have = 0;
    int headEnd = -1;
    m_status = 0;
    while ((headEnd = FindHeadEnd(block, have)) < 0) {
        if (have >= kMaxResponseHead) {
            LogError("response head larger than %d bytes", kMaxResponseHead);
            return kHttpNetFail;
        }
        int n = RecvWithin(deadline, block + have, kMaxResponseHead - have);
        if (n <= 0) {
            if (toFile)
                LogError("HTTPGetRecvFile Error recv head %d", n < 0 ? m_lastError : 0);
            else
                LogError("recv buf failed ,error code is %d", n < 0 ? m_lastError : 0);
            return kHttpNetFail;
        }
        have += n;
    }
    m_status = ParseStatusCode(block, headEnd);
    LogError(toFile ? "status code is %d" : "http status code is %d", m_status);
    if (IsRedirect(m_status)) {
        std::string location;
        memset(m_redirect, 0, sizeof m_redirect);
        if (FindHeaderValue(block, headEnd, "Location", location) && location.size() < sizeof m_redirect)
            memcpy(m_redirect, location.data(), location.size());
        return kHttpBadStatus;
    }
    if (m_status != 200)
        return kHttpBadStatus;
    std::string lengthText;
    if (FindHeaderValue(block, headEnd, "Content-Length", lengthText))
        LogError("get content length buf %.20s", lengthText.c_str());
    long long announced = GetContentLength(block, headEnd, INT_MAX);
    if (announced < 0) {
        LogError(toFile ? "HTTPGetRecvFile Error get contentlength fail,contentlength is %d"
                        : "get content length fail %d",
                 int(announced));
        return kHttpNoLength;
    }
    int length = int(announced);
    deadline.AllowBody(length);
    int rc = sink.Begin(length);
    if (rc != 0)
        return rc;
    int received = have - headEnd < length ? have - headEnd : length;
    if (received > 0 && !sink.Write(block + headEnd, received))
        return kHttpFileFail;
    deadline.BodyReceived(received);
    if (toFile)
        OnProgress(length, received);
    while (received < length) {
        int want = length - received < kBlockSize ? length - received : kBlockSize;
        char* into = sink.Space(want);
        int n = RecvWithin(deadline, into, want);
        if (n <= 0) {
            LogError(toFile ? "HTTPGetRecvFile Error recv body %d" : "recv body failed %d", n < 0 ? m_lastError : 0);
            if (n == 0)
                LogError("peer closed after %d of %d bytes", received, length);
            return kHttpNetFail;
        }
        if (!sink.Commit(n))
            return kHttpFileFail;
        received += n;
        deadline.BodyReceived(received);
        if (toFile)
            OnProgress(length, received);
    }
    rc = sink.End();
    return rc != 0 ? rc : length;
}

bool CNBTCPClient::NextHop(HttpUrl& url, int& hops)
{
    if (!IsRedirect(m_status))
        return false;
    if (++hops > kMaxRedirects) {
        LogError("too many redirects at %s", url.ToString().c_str());
        return false;
    }
    HttpUrl next;
    if (!ResolveRedirect(url, m_redirect, next)) {
        LogError("redirect %d without a usable Location: %s", m_status, m_redirect);
        return false;
    }
    url = next;
    return true;
}

int CNBTCPClient::HTTPGet(const char* url, char* buffer, int size)
{
    HttpUrl target;
    if (!url || !ParseHttpUrl(url, target) || !buffer || size <= 0) {
        LogError("bad url %s", url ? url : "");
        return kHttpNetFail;
    }
    buffer[0] = 0;
    int hops = 0;
    for (;;) {
        int rc = OpenRequest(target);
        if (rc < 0)
            return rc;
        rc = HTTPGetRecv(buffer, size);
        if (rc != kHttpBadStatus || !NextHop(target, hops))
            return rc;
    }
}

int CNBTCPClient::HTTPGetRecv(char* buffer, int size)
{
    MemorySink sink(*this, buffer, size);
    return ReceiveResponse(sink, false);
}

int CNBTCPClient::HTTPGetFile(const char* url, const char* folder, const char* name, const char* md5,
                              int replaceMode)
{
    FileDownload download;
    int rc = FetchFile(url, folder, name, md5, download);
    return rc < 0 ? rc : FinishFile(download, replaceMode);
}

int CNBTCPClient::FetchFile(const char* url, const char* folder, const char* name, const char* md5,
                            FileDownload& download)
{
    HttpUrl target;
    if (!url || !ParseHttpUrl(url, target)) {
        LogError("bad url %s", url ? url : "");
        return kHttpNetFail;
    }
    // The name comes from the URL asked for, not from where it redirects.
    std::string fileName;
    if (name) {
        fileName = name;
    } else {
        size_t slash = target.path.rfind('/');
        fileName = slash == std::string::npos ? target.path : target.path.substr(slash + 1);
        if (fileName.empty())
            fileName = LocalTimeStamp();
    }
    char path[kPathSize];
    if (!FormatBounded(path, sizeof path, "%s/%s", folder, fileName.c_str())) {
        LogError("path too long: %s/%s", folder, fileName.c_str());
        return kHttpFileFail;
    }
    int hops = 0;
    for (;;) {
        int rc = OpenRequest(target);
        if (rc < 0)
            return rc;
        rc = HTTPGetRecvFile(path, md5, download);
        if (rc != kHttpBadStatus || !NextHop(target, hops))
            return rc;
    }
}

int CNBTCPClient::HTTPGetRecvFile(const char* path, const char* md5, FileDownload& download)
{
    char temp[kPathSize];
    if (!FormatBounded(temp, sizeof temp, "%s_%s.orvobak", path, LocalTimeStamp().c_str())) {
        LogError("path too long: %s", path);
        return kHttpFileFail;
    }
    if (!m_writer)
        m_writer = std::make_unique<CDownloadWriter>(kBlockSize, kWriterBlocks);
    FileSink sink(*m_writer, temp);
    int rc = ReceiveResponse(sink, true);
    if (!sink.Started())
        return rc;
    FileDownload received{path, temp, md5 ? md5 : "", rc, sink.Hand()};
    if (rc >= 0) {
        download = std::move(received);
        return rc;
    }
    // A failure of the writer's own is told by its outcome.
    if (rc == kHttpFileFail)
        return FinishFile(received, 0);
    DiscardFile(received);
    return rc;
}

int CNBTCPClient::FinishFile(FileDownload& download, int replaceMode)
{
    CDownloadWriter::Outcome outcome = m_writer->Wait(download.file);
    download.file.reset();
    const char* path = download.path.c_str();
    const char* temp = download.temp.c_str();
    switch (outcome.step) {
    case CDownloadWriter::Outcome::kWritten:
        break;
    case CDownloadWriter::Outcome::kCreateFailed:
        LogError("HTTPGetRecvFile fail to fopen %lu %s", outcome.error, temp);
        return kHttpFileFail;
    default:
        LogError("HTTPGetRecvFile fail to write %s: %lu", temp, outcome.error);
        return kHttpFileFail;
    }
    if (!download.md5.empty() && download.md5 != outcome.digest) {
        LogError("Download update file %s MD5 not match %s, %s", path, download.md5.c_str(), outcome.digest);
        RemoveFile(temp);
        return kHttpNetFail;
    }
    if (replaceMode == 0) {
        RecordPending(path, temp);
        return download.length;
    }
    int swap = SwapInNow(path, temp);
    if (swap < 0)
        RemoveFile(temp);
    return swap < 0 ? swap : download.length;
}

void CNBTCPClient::DiscardFile(FileDownload& download)
{
    if (!download.file)
        return;
    m_writer->Wait(download.file);
    download.file.reset();
    RemoveFile(download.temp.c_str());
}

bool CNBTCPClient::IsWritten(const FileDownload& download) const
{
    return !download.file || m_writer->Done(download.file);
}

void CNBTCPClient::RecordPending(const char* path, const char* temp)
{
    std::string superseded = m_pending.Add(path, temp);
    if (!superseded.empty())
        RemoveFile(superseded.c_str());
}

int CNBTCPClient::SwapInNow(const char* path, const char* temp)
{
    char backup[kPathSize];
    if (!FormatBounded(backup, sizeof backup, "%s.orvobak", temp)) {
        LogError("path too long: %s", temp);
        return kHttpFileFail;
    }
    bool hadOld = FileExists(path);
    if (hadOld && !FsMove(path, backup, MOVEFILE_REPLACE_EXISTING)) {
        LogError("cannot move %s aside: %lu", path, GetLastError());
        return kHttpFileFail;
    }
    if (!FsMove(temp, path, 0)) {
        LogError("cannot move %s to %s: %lu", temp, path, GetLastError());
        if (hadOld)
            FsMove(backup, path, 0);
        return kHttpFileFail;
    }
    if (hadOld)
        RemoveFile(backup);
    return 0;
}

bool CNBTCPClient::GetFileMD5(const char* path, char* out)
{
    FileDigest result = DigestFile(path, out);
    if (result == FileDigest::Missing || result == FileDigest::CannotOpen)
        LogError("file %s is NULL", path);
    else if (result == FileDigest::ReadFailed)
        LogError("file %s read fail", path);
    return result == FileDigest::Ok;
}

void CNBTCPClient::OnFileName(const char* name) { printf("%s\n", name); }

void CNBTCPClient::OnProgress(int total, int received) { printf("maxlen %d, recvlen %d\n", total, received); }

void CNBTCPClient::Log(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    WriteLog(m_infoLog, format, args);
    va_end(args);
}

void CNBTCPClient::LogError(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    WriteLog(m_errorLog, format, args);
    va_end(args);
}

void CNBTCPClient::WriteLog(DailyLog& log, const char* format, va_list args)
{
    char message[2048];
    vsnprintf(message, sizeof message, format, args);  // a longer message is cut
    log.Write(message);
}
