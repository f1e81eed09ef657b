#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "core/ranking/OrvRankRequest.h"

namespace movrane {

class Ui;

// Removes what stands at a path in the shared temporary folder (a file left by an earlier
// run, or a link someone else put there so that writing would follow it); false when
// something is still there afterwards.
bool clearTemporaryPath(const std::string& path);

// What the progress window is started with.
struct UploadSession {
    std::string host;      // "HOST[:PORT]" of the ranking service
    std::string filePath;  // the lap-times file to send
    std::string token;     // credentials token
    std::string user;
    std::string password;
    long timeoutSeconds = 30;  // bounds connecting and each wait for the reply
};

// "OrvRank Upload Progress": runs the exchange with the ranking service once, keeps the
// transcript ("Communication details:") and the reply, judges the reply's status, and
// offers the reply for viewing. The exchange is synchronous; the line and wait hooks let
// a window show each line at once and stay responsive (Abort) while it runs.
class OrvRankUploadProgress {
public:
    static constexpr const char* TITLE = "OrvRank Upload Progress";
    static constexpr const char* TRANSCRIPT_LABEL = "Communication details:";
    static constexpr std::size_t REPLY_BUFFER_SIZE = 40000;
    static constexpr const char* UPLOADED_MESSAGE = "Laptimes successfully uploaded!";
    static constexpr const char* BAD_LOGIN_MESSAGE = "Laptimes not uploaded!\r\nIncorrect username or password";
    static constexpr const char* FAILED_MESSAGE = "Laptimes not uploaded!\r\nSee transcript for details";

    enum class Judgement { NotRun, Uploaded, BadLogin, Failed };

    OrvRankUploadProgress(UploadSession session, Ui& ui);
    ~OrvRankUploadProgress();
    OrvRankUploadProgress(const OrvRankUploadProgress&) = delete;
    OrvRankUploadProgress& operator=(const OrvRankUploadProgress&) = delete;

    // Called with every line appended to the transcript, and repeatedly while the
    // exchange waits on the network.
    void setLineHook(std::function<void(const std::string&)> hook) { lineHook_ = std::move(hook); }
    void setWaitHook(std::function<void()> hook) { waitHook_ = std::move(hook); }

    // The exchange, at most once per window: transcript, judgement and its message box.
    void run();
    // "Abort": ends the exchange at once; the transcript takes no more status lines.
    void abort();

    bool started() const { return started_; }
    bool running() const { return running_; }
    bool finished() const { return finished_; }
    // Every line followed by "\r\n", as appended.
    const std::string& transcript() const { return transcript_; }
    const std::string& statusCode() const { return statusCode_; }
    Judgement judgement() const { return judgement_; }
    bool replyAvailable() const { return !reply_.empty(); }
    // The reply body, at most REPLY_BUFFER_SIZE bytes; reading stops there.
    const std::string& reply() const { return reply_; }

    // Button states.
    bool mayAbort() const { return running_; }
    bool mayClose() const { return !started_ || finished_; }
    bool mayViewReply() const { return finished_ && replyAvailable(); }

    // "View OrvRanks reply": writes the reply into the temporary folder as an HTML file
    // and opens it with the default handler; false when nothing was shown.
    bool viewReply();
    // "Close": removes the reply file when one was written.
    void close();

    // The temporary files of the upload.
    static std::string uploadFilePath();
    static std::string replyFilePath();

    // The exchange's own parts, reached from its network callbacks.
    struct Transfer;

private:
    void log(const std::string& line);
    void status(const std::string& line);
    void exchange();
    void judge();
    void closeHandles();

    friend struct Transfer;

    UploadSession session_;
    OrvRankHost host_;
    Ui& ui_;
    std::function<void(const std::string&)> lineHook_;
    std::function<void()> waitHook_;
    std::string transcript_;
    std::string statusCode_;
    std::string statusText_;
    std::string reply_;
    Judgement judgement_ = Judgement::NotRun;
    bool started_ = false;
    bool running_ = false;
    bool finished_ = false;
    bool aborted_ = false;
    bool connected_ = false;
    bool replyFileWritten_ = false;
    void* handle_ = nullptr;  // the HTTP client's handle while the exchange runs
};

}  // namespace movrane
