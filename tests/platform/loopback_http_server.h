#pragma once
// A tiny HTTP server on 127.0.0.1 for the tests of the update query: it
// answers every request with one canned reply, or keeps the connection open
// without a word, until it is destroyed. No network beyond the loopback.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

namespace galvora::testing {

// A complete reply: status line, Content-Length, further header lines, body.
inline std::string http_reply(const std::string& status, const std::string& body,
                              const std::string& headers = "") {
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nContent-Type: text/plain\r\nConnection: close\r\n" + headers + "\r\n" + body;
}

class LoopbackHttpServer {
public:
    // raw: the bytes sent back; silent: accept and read, but never answer.
    explicit LoopbackHttpServer(std::string raw, bool silent = false) : raw_(std::move(raw)), silent_(silent) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        if (listener_ < 0) throw std::runtime_error("socket");
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener_, 8) != 0)
            throw std::runtime_error("bind");
        socklen_t length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        if (pipe(stop_) != 0) throw std::runtime_error("pipe");
        thread_ = std::thread([this] { serve(); });
    }
    ~LoopbackHttpServer() {
        const char byte = 1;
        (void)!write(stop_[1], &byte, 1);
        thread_.join();
        close(listener_);
        close(stop_[0]);
        close(stop_[1]);
    }
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    std::string url(const std::string& path = "/galvora/version.txt") const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    int requests() const { return requests_; }
    std::string last_request() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return last_request_;
    }

private:
    // Waits until fd is readable; false when the server is being stopped.
    bool wait_readable(int fd) const {
        pollfd fds[2] = {{fd, POLLIN, 0}, {stop_[0], POLLIN, 0}};
        for (;;) {
            if (poll(fds, 2, -1) < 0) continue;
            if (fds[1].revents != 0) return false;
            if (fds[0].revents != 0) return true;
        }
    }

    void serve() {
        while (wait_readable(listener_)) {
            const int client = accept(listener_, nullptr, nullptr);
            if (client < 0) continue;
            std::string request;
            char buffer[1024];
            while (request.find("\r\n\r\n") == std::string::npos && wait_readable(client)) {
                const ssize_t n = read(client, buffer, sizeof buffer);
                if (n <= 0) break;
                request.append(buffer, static_cast<size_t>(n));
            }
            {
                std::lock_guard<std::mutex> lock(mutex_);
                last_request_ = request;
            }
            ++requests_;
            if (silent_) {
                wait_readable(stop_[0]);  // hold the connection until the end
                close(client);
                return;
            }
            size_t sent = 0;
            while (sent < raw_.size()) {
                const ssize_t n = send(client, raw_.data() + sent, raw_.size() - sent, MSG_NOSIGNAL);
                if (n <= 0) break;
                sent += static_cast<size_t>(n);
            }
            shutdown(client, SHUT_WR);
            close(client);
        }
    }

    std::string raw_;
    bool silent_;
    int listener_ = -1;
    int stop_[2] = {-1, -1};
    int port_ = 0;
    std::atomic<int> requests_{0};
    mutable std::mutex mutex_;
    std::string last_request_;
    std::thread thread_;
};

}  // namespace galvora::testing
