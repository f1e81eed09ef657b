#pragma once

#include <string>
#include <thread>

namespace testsupport {

// An HTTP server on 127.0.0.1 for one exchange: it accepts one connection on an
// ephemeral port, reads the request (headers and the body its Content-Length announces),
// waits if asked, writes the scripted reply and closes, with a reset when asked.
class LocalHttpServer {
public:
    struct Script {
        std::string reply;       // bytes written back
        int delayMs = 0;         // wait before replying (ends early when the client leaves)
        bool resetAtEnd = false; // close with a reset instead of an orderly close
    };

    explicit LocalHttpServer(Script script);
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    // "127.0.0.1:PORT"
    std::string address() const;
    // The request as received; waits until the exchange is over.
    const std::string& request();

    // A whole reply with status line, Content-Length and the body.
    static std::string reply(int code, const std::string& text, const std::string& body);
    // "127.0.0.1:PORT" of a port nothing listens on.
    static std::string closedAddress();

private:
    void serve();

    Script script_;
    int port_ = 0;  // set while the listener is made
    int listener_ = -1;
    std::string request_;
    std::thread thread_;
};

}  // namespace testsupport
