#include "core/ranking/OrvRankUploadProgress.h"

#include <curl/curl.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>

#include "core/platform/DefaultHandler.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/platform/Ui.h"

namespace movrane {

// One run of the HTTP client: the counters its callbacks keep between the request going
// out and the reply coming in.
struct OrvRankUploadProgress::Transfer {
    explicit Transfer(OrvRankUploadProgress& progress) : owner(progress) {}

    OrvRankUploadProgress& owner;
    std::size_t bodySize = 0;
    std::size_t bytesSent = 0;
    std::size_t bodySent = 0;
    std::size_t headerBytes = 0;
    std::size_t bodyBytes = 0;
    bool socketOpened = false;
    bool requestSentLogged = false;
    bool responseLogged = false;
    bool replyCut = false;
    bool timedOut = false;
    curl_off_t lastReceived = 0;
    curl_off_t lastSent = 0;
    std::chrono::steady_clock::time_point lastProgress = std::chrono::steady_clock::now();
    std::string pendingCode;
    std::string pendingText;

    // Called while the transfer runs: lets the window breathe, and ends the transfer on
    // Abort or when nothing moved for the time-out. False ends it.
    bool progressed(curl_off_t received, curl_off_t sent) {
        const auto now = std::chrono::steady_clock::now();
        if (received != lastReceived || sent != lastSent) {
            lastReceived = received;
            lastSent = sent;
            lastProgress = now;
        }
        if (owner.waitHook_) owner.waitHook_();
        if (owner.aborted_) return false;
        timedOut = now - lastProgress >= std::chrono::seconds(owner.session_.timeoutSeconds);
        return !timedOut;
    }

    void socketOpening() {
        if (socketOpened) return;
        socketOpened = true;
        owner.status("IP of " + owner.host_.name + " successfully found");
        owner.status("Connecting to " + owner.host_.name);
    }

    void sent(curl_infotype type, std::size_t size) {
        if (bytesSent == 0) {
            owner.connected_ = true;
            owner.status("Connected to " + owner.host_.name);
            owner.status("About to send information to " + owner.host_.name);
        }
        bytesSent += size;
        if (type == CURLINFO_DATA_OUT) bodySent += size;
        if (bodySent >= bodySize) requestSent();
    }

    void requestSent() {
        if (requestSentLogged) return;
        requestSentLogged = true;
        if (bytesSent == 0) {
            owner.status("Error sending information - Aborting");
            return;
        }
        owner.status(std::to_string(bytesSent) + " bytes sent to " + owner.host_.name);
        owner.status("Waiting for response");
    }

    // A status line "HTTP/1.1 200 OK" starts each response; a 1xx response is followed
    // by the real one. The status counts once the response's headers are complete.
    void headerLine(std::string_view line) {
        headerBytes += line.size();
        if (line.starts_with("HTTP/")) {
            while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
            std::string_view rest = line.substr(std::min(line.find(' '), line.size()));
            if (!rest.empty()) rest.remove_prefix(1);
            const std::size_t space = std::min(rest.find(' '), rest.size());
            pendingCode = std::string(rest.substr(0, space));
            pendingText = std::string(rest.substr(std::min(space + 1, rest.size())));
            return;
        }
        if ((line != "\r\n" && line != "\n") || pendingCode.starts_with('1')) return;
        owner.statusCode_ = pendingCode;
        owner.statusText_ = pendingText;
        responseHeadersComplete();
    }

    void responseHeadersComplete() {
        requestSent();
        owner.status(std::to_string(headerBytes) + " bytes received from " + owner.host_.name);
        if (owner.statusCode_.starts_with('3')) owner.status("Server tries to redirect...");
        owner.status("Request complete...");
        logResponse();
    }

    void logResponse() {
        if (responseLogged) return;
        responseLogged = true;
        owner.log("\r\nServers response in short was: " + owner.statusCode_ + " " + owner.statusText_);
    }

    // Takes reply bytes up to the buffer's end; a shorter count stops the transfer there.
    std::size_t replyBytes(const char* data, std::size_t size) {
        bodyBytes += size;
        const std::size_t room = REPLY_BUFFER_SIZE - owner.reply_.size();
        const std::size_t taken = size < room ? size : room;
        owner.reply_.append(data, taken);
        if (taken < size) replyCut = true;
        return taken;
    }

    void finished(CURLcode result) {
        if (bodyBytes > 0) owner.status(std::to_string(bodyBytes) + " bytes received from " + owner.host_.name);
        if (result != CURLE_OK && !(result == CURLE_WRITE_ERROR && replyCut)) {
            if (owner.connected_ && !requestSentLogged) requestSent();
            owner.status(failureLine(timedOut ? CURLE_OPERATION_TIMEDOUT : result));
        }
        logResponse();
    }

    static std::string failureLine(CURLcode result) {
        switch (result) {
            case CURLE_COULDNT_RESOLVE_HOST:
            case CURLE_COULDNT_RESOLVE_PROXY:
                return "Error: Could not look up OrvRank - Aborting\r\nAre you connected to the internet?";
            case CURLE_COULDNT_CONNECT: return "Error: Could not connect - Aborting";
            case CURLE_SEND_ERROR:
            case CURLE_RECV_ERROR:
            case CURLE_GOT_NOTHING:
            case CURLE_PARTIAL_FILE: return "Error: Connection reset - Aborting";
            case CURLE_LOGIN_DENIED: return "Error: Could not login using given user and password - Aborting";
            case CURLE_OPERATION_TIMEDOUT: return "Error: Timeout - Aborting";
            default: return "Error: Could not connect(2) - Aborting";
        }
    }
};

namespace {

using Transfer = OrvRankUploadProgress::Transfer;

int onProgress(void* data, curl_off_t, curl_off_t received, curl_off_t, curl_off_t sent) {
    return static_cast<Transfer*>(data)->progressed(received, sent) ? 0 : 1;
}

int onDebug(CURL*, curl_infotype type, char*, std::size_t size, void* data) {
    if (type == CURLINFO_HEADER_OUT || type == CURLINFO_DATA_OUT) static_cast<Transfer*>(data)->sent(type, size);
    return 0;
}

curl_socket_t onOpenSocket(void* data, curlsocktype, curl_sockaddr* address) {
    static_cast<Transfer*>(data)->socketOpening();
    return socket(address->family, address->socktype, address->protocol);
}

std::size_t onHeader(char* bytes, std::size_t size, std::size_t count, void* data) {
    static_cast<Transfer*>(data)->headerLine(std::string_view(bytes, size * count));
    return size * count;
}

std::size_t onReply(char* bytes, std::size_t size, std::size_t count, void* data) {
    return static_cast<Transfer*>(data)->replyBytes(bytes, size * count);
}

bool curlReady() {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

}  // namespace

bool clearTemporaryPath(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return !std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

OrvRankUploadProgress::OrvRankUploadProgress(UploadSession session, Ui& ui)
    : session_(std::move(session)), host_(parseOrvRankHost(session_.host)), ui_(ui) {}

OrvRankUploadProgress::~OrvRankUploadProgress() { closeHandles(); }

std::string OrvRankUploadProgress::uploadFilePath() {
    return joinPath(temporaryFolder(), "MOVRN_OrvRank_tempfile.ini");
}

std::string OrvRankUploadProgress::replyFilePath() {
    return joinPath(temporaryFolder(), "MOVRN_OrvRank_tempfile.html");
}

void OrvRankUploadProgress::log(const std::string& line) {
    transcript_ += line + "\r\n";
    if (lineHook_) lineHook_(line);
}

void OrvRankUploadProgress::status(const std::string& line) {
    if (running_) log(line);
}

void OrvRankUploadProgress::run() {
    if (started_) return;
    started_ = true;
    log("Beginning communication, please wait...");
    running_ = true;
    reply_.clear();
    statusCode_.clear();
    statusText_.clear();
    {
        WaitCursor wait(ui_);
        exchange();
        judge();
        closeHandles();
    }
    running_ = false;
    finished_ = true;
}

void OrvRankUploadProgress::abort() {
    aborted_ = true;
    running_ = false;
}

void OrvRankUploadProgress::exchange() {
    CURL* curl = curlReady() ? curl_easy_init() : nullptr;
    handle_ = curl;
    if (!curl) {
        status("Error creating handle: 1001 - Aborting");
        return;
    }
    Transfer transfer{*this};
    if (curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, onDebug) != CURLE_OK ||
        curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &transfer) != CURLE_OK ||
        curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L) != CURLE_OK) {
        log("Could not set internet callback function - aborting");
        closeHandles();
        return;
    }
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, onOpenSocket);
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onReply);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(curl, CURLOPT_URL, orvRankUrl(host_).c_str());
    curl_easy_setopt(curl, CURLOPT_USERAGENT, ORVRANK_AGENT);
    curl_easy_setopt(curl, CURLOPT_REFERER, ORVRANK_REFERRER);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, session_.timeoutSeconds);

    // The request carries only the service's headers: no accept types, no expectation
    // of an interim reply.
    curl_slist* headers = nullptr;
    for (const std::string& header : orvRankHeaders(session_.token)) {
        curl_slist* longer = curl_slist_append(headers, header.c_str());
        if (!longer) {
            log("Error adding a new header " + std::to_string(ENOMEM) + "\n");
            continue;
        }
        headers = longer;
    }
    for (const char* removed : {"Accept:", "Expect:"})
        if (curl_slist* longer = curl_slist_append(headers, removed)) headers = longer;
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);

    std::string file;
    if (!readWholeFile(session_.filePath, file)) {
        log("\nFailed to open a local temporary file " + session_.filePath + ".");
        transfer.logResponse();
    } else {
        const std::string body = orvRankBody(file);
        transfer.bodySize = body.size();
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        status("Looking up IP of " + host_.name);
        transfer.finished(curl_easy_perform(curl));
    }
    curl_slist_free_all(headers);
}

void OrvRankUploadProgress::judge() {
    if (statusCode_ == "200") {
        judgement_ = Judgement::Uploaded;
        log("Which means everything went fine!");
        ui_.message(UPLOADED_MESSAGE);
    } else if (statusCode_ == "401") {
        judgement_ = Judgement::BadLogin;
        log("Which means you did not supply correct user and/or password");
        ui_.message(BAD_LOGIN_MESSAGE, {}, Ui::Icon::Warning);
    } else {
        judgement_ = Judgement::Failed;
        log("Which means something went wrong, times not updated");
        ui_.message(FAILED_MESSAGE, {}, Ui::Icon::Warning);
    }
}

void OrvRankUploadProgress::closeHandles() {
    if (!handle_) return;
    if (connected_) status("Closing connection");
    curl_easy_cleanup(static_cast<CURL*>(handle_));
    handle_ = nullptr;
    if (connected_) status("Connection closed");
}

bool OrvRankUploadProgress::viewReply() {
    if (!mayViewReply()) return false;
    const std::string path = replyFilePath();
    if (!clearTemporaryPath(path) || !writeFileAtomically(path, reply_, 0600)) {
        ui_.message("Error creating file!", {}, Ui::Icon::Warning, path);
        return false;
    }
    replyFileWritten_ = true;
    return openWithDefaultHandlerOrTell(ui_, path);
}

void OrvRankUploadProgress::close() {
    if (!replyFileWritten_) return;
    std::error_code ignored;
    std::filesystem::remove(replyFilePath(), ignored);
    replyFileWritten_ = false;
}

}  // namespace movrane
