// A listening socket on 127.0.0.1 at a free port, made by the test itself.
#pragma once

#include <winsock2.h>

#include <string>
#include <thread>

// Takes connections only when a Serve* call asks (one each, on a thread);
// until then a peer that connects is never answered.
class LoopbackListener
{
public:
    LoopbackListener()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_socket = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = inet_addr("127.0.0.1");
        bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(m_socket, 4);
        int length = sizeof address;
        getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
    }
    ~LoopbackListener()
    {
        if (m_thread.joinable())
            m_thread.join();
        closesocket(m_socket);
        WSACleanup();
    }
    // Collects everything the next peer sends into received.
    void ServeReceive()
    {
        m_thread = std::thread([this] {
            SOCKET peer = accept(m_socket, nullptr, nullptr);
            char block[4096];
            int n;
            while ((n = recv(peer, block, sizeof block, 0)) > 0)
                received.append(block, n);
            closesocket(peer);
        });
    }
    // Sends bytes to the next peer, then closes.
    void ServeSend(const std::string& bytes)
    {
        m_thread = std::thread([this, bytes] {
            SOCKET peer = accept(m_socket, nullptr, nullptr);
            send(peer, bytes.data(), int(bytes.size()), 0);
            shutdown(peer, SD_SEND);
            closesocket(peer);
        });
    }
    void Join() { m_thread.join(); }

    unsigned short port = 0;
    std::string received;

private:
    SOCKET m_socket;
    std::thread m_thread;
};
