#include "support/LocalHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace testsupport {

namespace {

constexpr int WAIT_MS = 10000;  // no test waits longer for its client

int listeningSocket(int& port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 1) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on 127.0.0.1");
    port = ntohs(address.sin_port);
    return fd;
}

bool readable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, timeoutMs) > 0;
}

std::size_t announcedLength(const std::string& headers) {
    const std::string key = "Content-Length: ";
    const std::size_t at = headers.find(key);
    return at == std::string::npos ? 0 : std::stoul(headers.substr(at + key.size()));
}

void readRequest(int fd, std::string& request) {
    char buffer[4096];
    std::size_t end = std::string::npos;
    while (readable(fd, WAIT_MS)) {
        const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0) return;
        request.append(buffer, static_cast<std::size_t>(got));
        if (end == std::string::npos) end = request.find("\r\n\r\n");
        if (end != std::string::npos && request.size() >= end + 4 + announcedLength(request.substr(0, end))) return;
    }
}

// Waits, but stops when the client closes its side.
void waitUnlessClosed(int fd, int delayMs) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(delayMs);
    while (std::chrono::steady_clock::now() < until) {
        char byte;
        if (readable(fd, 20) && recv(fd, &byte, 1, MSG_PEEK) <= 0) return;
    }
}

}  // namespace

LocalHttpServer::LocalHttpServer(Script script) : script_(std::move(script)), listener_(listeningSocket(port_)) {
    thread_ = std::thread([this] { serve(); });
}

LocalHttpServer::~LocalHttpServer() {
    if (thread_.joinable()) thread_.join();
    close(listener_);
}

std::string LocalHttpServer::address() const { return "127.0.0.1:" + std::to_string(port_); }

const std::string& LocalHttpServer::request() {
    if (thread_.joinable()) thread_.join();
    return request_;
}

void LocalHttpServer::serve() {
    if (!readable(listener_, WAIT_MS)) return;
    const int client = accept(listener_, nullptr, nullptr);
    if (client < 0) return;
    readRequest(client, request_);
    waitUnlessClosed(client, script_.delayMs);
    for (std::size_t sent = 0; sent < script_.reply.size();) {
        const ssize_t n = send(client, script_.reply.data() + sent, script_.reply.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += static_cast<std::size_t>(n);
    }
    if (script_.resetAtEnd) {
        const linger reset{1, 0};
        setsockopt(client, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    } else {
        shutdown(client, SHUT_WR);
        waitUnlessClosed(client, WAIT_MS);
    }
    close(client);
}

std::string LocalHttpServer::reply(int code, const std::string& text, const std::string& body) {
    return "HTTP/1.1 " + std::to_string(code) + " " + text + "\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

std::string LocalHttpServer::closedAddress() {
    int port = 0;
    close(listeningSocket(port));
    return "127.0.0.1:" + std::to_string(port);
}

}  // namespace testsupport
