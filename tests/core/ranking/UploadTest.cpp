#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/library/RecordsExport.h"
#include "core/ranking/OrvRankUpload.h"
#include "support/ConfigSandbox.h"
#include "support/LocalHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace {

using movrane::OrvRankUploadProgress;
using Judgement = OrvRankUploadProgress::Judgement;
using testsupport::LocalHttpServer;
namespace fs = std::filesystem;

TEST(OrvRankRequest, TokenPadsToFourCharacters) {
    const struct {
        const char* user;
        const char* password;
        const char* token;
    } cases[] = {
        {"ab", "cd", "YWI6Y2Q="},     // 5 bytes: 2 modulo 3, one "="
        {"ab", "c", "YWI6Yw=="},      // 4 bytes: 1 modulo 3, two "="
        {"abc", "de", "YWJjOmRl"},    // 6 bytes: none
        {"Aladdin", "open sesame", "QWxhZGRpbjpvcGVuIHNlc2FtZQ=="},
        {"\xff\xfe", "?>", "//46Pz4="},  // the last two letters of the alphabet
    };
    for (const auto& c : cases) EXPECT_EQ(movrane::credentialsToken(c.user, c.password), c.token) << c.user;
}

TEST(OrvRankRequest, BodyAndHeadersByteForByte) {
    const std::string delimiter = "-----------------------------7d217c540366";
    EXPECT_EQ(movrane::orvRankBody("[ monza ]\r\n"),
              delimiter + "\r\nContent-Disposition: form-data; name=\"MAX_FILE_SIZE\"\r\n\r\n65535\r\n" + delimiter +
                  "\r\nContent-Disposition: form-data; name=\"submitfile\"; filename=\"Uploaded_via_MOVRN\"\r\n"
                  "Content-Type: application/octet-stream\r\n\r\n[ monza ]\r\n\r\n" +
                  delimiter + "--\r\n");
    const auto headers = movrane::orvRankHeaders("YWI6Y2Q=");
    EXPECT_EQ(headers[0], "Content-Type: multipart/form-data; boundary=---------------------------7d217c540366");
    EXPECT_EQ(headers[1], "Authorization: Basic YWI6Y2Q=");
}

// Each upload runs with the temporary folder inside the test's own folder.
class Upload : public ::testing::Test {
protected:
    void SetUp() override {
        oldTmp_ = std::getenv("TMPDIR") ? std::optional<std::string>(std::getenv("TMPDIR")) : std::nullopt;
        setenv("TMPDIR", dir.path().c_str(), 1);
        table.playerName = "Ann Example";
        table.rows.push_back({"Monza", "Monza GP", "monza", {}});
        table.rows[0].cars[4].sessions[movrane::BEST_RACE].ms = 83456;
    }
    void TearDown() override {
        if (oldTmp_) setenv("TMPDIR", oldTmp_->c_str(), 1);
        else unsetenv("TMPDIR");
    }

    // Runs the upload against `host`, keeping what the window would show.
    struct Runner : movrane::UploadProgressRunner {
        void run(OrvRankUploadProgress& progress) override {
            fileWhileRunning = fs::exists(OrvRankUploadProgress::uploadFilePath());
            progress.run();
            transcript = progress.transcript();
            reply = progress.reply();
            viewable = progress.mayViewReply();
        }
        bool fileWhileRunning = false;
        std::string transcript;
        std::string reply;
        bool viewable = false;
    };
    std::optional<Judgement> upload(const std::string& host, long timeout = 5) {
        return movrane::uploadLapTimes(table, host, "ab", "cd", ui, runner, timeout);
    }

    testsupport::TempDir dir;
    testsupport::ScriptedUi ui;
    movrane::RecordsTable table;
    Runner runner;

private:
    std::optional<std::string> oldTmp_;
};

// The transcript holds these lines in this order, each followed by "\r\n".
void expectLinesInOrder(const std::string& transcript, const std::vector<std::string>& lines) {
    std::size_t at = 0;
    for (const std::string& line : lines) {
        const std::size_t found = transcript.find(line + "\r\n", at);
        ASSERT_NE(found, std::string::npos) << "missing after offset " << at << ": " << line << "\n" << transcript;
        at = found + line.size();
    }
}

TEST_F(Upload, ServerRepliesAreJudgedByTheirStatus) {
    const std::string big(50000, 'x');
    const struct {
        const char* name;
        LocalHttpServer::Script script;
        Judgement judgement;
        const char* message;
        std::vector<std::string> lines;
        std::size_t replySize;
    } cases[] = {
        {"200", {LocalHttpServer::reply(200, "OK", "<html>ok</html>")}, Judgement::Uploaded,
         OrvRankUploadProgress::UPLOADED_MESSAGE,
         {"Beginning communication, please wait...", "Looking up IP of 127.0.0.1", "IP of 127.0.0.1 successfully found",
          "Connecting to 127.0.0.1", "Connected to 127.0.0.1", "About to send information to 127.0.0.1",
          "Waiting for response", "Request complete...", "\r\nServers response in short was: 200 OK",
          "15 bytes received from 127.0.0.1", "Which means everything went fine!", "Closing connection",
          "Connection closed"},
         15},
        {"401", {LocalHttpServer::reply(401, "Unauthorized", "who?")}, Judgement::BadLogin,
         OrvRankUploadProgress::BAD_LOGIN_MESSAGE,
         {"\r\nServers response in short was: 401 Unauthorized",
          "Which means you did not supply correct user and/or password"},
         4},
        {"500 without body", {LocalHttpServer::reply(500, "Internal Server Error", "")}, Judgement::Failed,
         OrvRankUploadProgress::FAILED_MESSAGE,
         {"\r\nServers response in short was: 500 Internal Server Error",
          "Which means something went wrong, times not updated"},
         0},
        {"reset mid-reply", {"HTTP/1.1 200 OK\r\nContent-Le", 0, true}, Judgement::Failed,
         OrvRankUploadProgress::FAILED_MESSAGE,
         {"Waiting for response", "Error: Connection reset - Aborting", "\r\nServers response in short was:  ",
          "Which means something went wrong, times not updated"},
         0},
        {"reply over the buffer", {LocalHttpServer::reply(200, "OK", big)}, Judgement::Uploaded,
         OrvRankUploadProgress::UPLOADED_MESSAGE,
         {"Request complete...", "Which means everything went fine!"},
         OrvRankUploadProgress::REPLY_BUFFER_SIZE},
        {"slow reply", {LocalHttpServer::reply(200, "OK", "late"), 5000}, Judgement::Failed,
         OrvRankUploadProgress::FAILED_MESSAGE,
         {"Waiting for response", "Error: Timeout - Aborting", "Which means something went wrong, times not updated"},
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui.messages.clear();
        LocalHttpServer server(c.script);
        EXPECT_EQ(upload(server.address(), 1), c.judgement);
        EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{c.message});
        expectLinesInOrder(runner.transcript, c.lines);
        EXPECT_EQ(runner.reply.size(), c.replySize);
        EXPECT_EQ(runner.viewable, c.replySize > 0);
        EXPECT_TRUE(runner.fileWhileRunning);
        EXPECT_FALSE(fs::exists(OrvRankUploadProgress::uploadFilePath()));
        const std::string& request = server.request();
        const std::string body = movrane::orvRankBody(movrane::lapTimesIniText(table));
        EXPECT_EQ(request.substr(request.find("\r\n\r\n") + 4), body);
        for (const char* line : {"POST /php-reg/user.php?submitTimes HTTP/1.1\r\n", "User-Agent: Movrane\r\n",
                                 "Referer: MOVRN\r\n", "Authorization: Basic YWI6Y2Q=\r\n",
                                 "Content-Type: multipart/form-data; boundary=---------------------------7d217c540366\r\n"})
            EXPECT_NE(request.find(line), std::string::npos) << line;
        EXPECT_EQ(request.find("Accept:"), std::string::npos);
    }
}

TEST_F(Upload, RefusedConnectionAndUnknownHost) {
    // A link left at the upload file's place is replaced, never written through.
    testsupport::writeFileText(dir.file("victim.txt"), "keep");
    fs::create_symlink(dir.file("victim.txt"), OrvRankUploadProgress::uploadFilePath());
    EXPECT_EQ(upload(LocalHttpServer::closedAddress()), Judgement::Failed);
    EXPECT_EQ(testsupport::readFileText(dir.file("victim.txt")), "keep");
    expectLinesInOrder(runner.transcript, {"Connecting to 127.0.0.1", "Error: Could not connect - Aborting",
                                           "\r\nServers response in short was:  ",
                                           "Which means something went wrong, times not updated"});
    EXPECT_EQ(runner.transcript.find("bytes sent"), std::string::npos);
    EXPECT_FALSE(fs::exists(OrvRankUploadProgress::uploadFilePath()));

    // A label of 64 characters fits no name server query, so the look-up fails on this
    // machine without asking any server.
    const std::string unknown = std::string(64, 'a') + ".invalid";
    EXPECT_EQ(upload(unknown), Judgement::Failed);
    expectLinesInOrder(runner.transcript, {"Looking up IP of " + unknown,
                                           "Error: Could not look up OrvRank - Aborting\r\nAre you connected to the internet?"});
}

TEST_F(Upload, NothingStartsWithoutHostOrUploadFile) {
    EXPECT_EQ(upload(""), std::nullopt);
    setenv("TMPDIR", dir.file("missing/folder").c_str(), 1);
    EXPECT_EQ(upload("127.0.0.1:1"), std::nullopt);
    EXPECT_EQ(ui.messageTexts(), (std::vector<std::string>{movrane::NO_ORVRANK_HOST_MESSAGE, "Error creating temp file!"}));
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST_F(Upload, ReplyIsViewedFromATemporaryFileThatCloseRemoves) {
    OrvRankUploadProgress progress({LocalHttpServer::closedAddress(), dir.file("absent.ini"), "t", "u", "p", 5}, ui);
    EXPECT_FALSE(progress.mayViewReply());
    progress.run();
    // The file that was to be sent is gone: the transcript says so and nothing is sent.
    expectLinesInOrder(progress.transcript(),
                       {"\nFailed to open a local temporary file " + dir.file("absent.ini") + ".",
                        "Which means something went wrong, times not updated"});
    EXPECT_EQ(progress.transcript().find("Looking up"), std::string::npos);

    LocalHttpServer second({LocalHttpServer::reply(401, "Unauthorized", "<p>no</p>")});
    testsupport::writeFileText(dir.file("times.ini"), "[ monza ]\r\n");
    OrvRankUploadProgress viewed({second.address(), dir.file("times.ini"), "t", "u", "p", 5}, ui);
    viewed.run();
    viewed.run();  // once per window
    EXPECT_EQ(viewed.judgement(), Judgement::BadLogin);
    EXPECT_TRUE(viewed.mayViewReply() && viewed.mayClose() && !viewed.mayAbort());
    ASSERT_TRUE(viewed.viewReply());
    EXPECT_EQ(ui.opened, std::vector<std::string>{OrvRankUploadProgress::replyFilePath()});
    EXPECT_EQ(testsupport::readFileText(OrvRankUploadProgress::replyFilePath()), "<p>no</p>");
    viewed.close();
    EXPECT_FALSE(fs::exists(OrvRankUploadProgress::replyFilePath()));
}

TEST_F(Upload, AbortEndsTheExchangeWithoutWaitingForTheReply) {
    // The server answers only after 5 s: an exchange that ran on would be judged uploaded.
    LocalHttpServer server({LocalHttpServer::reply(200, "OK", "late"), 5000});
    testsupport::writeFileText(dir.file("times.ini"), "[ monza ]\r\n");
    OrvRankUploadProgress progress({server.address(), dir.file("times.ini"), "t", "u", "p", 30}, ui);
    progress.setWaitHook([&] {
        if (progress.mayAbort() && progress.transcript().find("Waiting for response") != std::string::npos) progress.abort();
    });
    progress.run();
    EXPECT_EQ(progress.judgement(), Judgement::Failed);
    EXPECT_FALSE(progress.replyAvailable());
    EXPECT_TRUE(progress.finished() && progress.mayClose() && !progress.mayAbort());
    expectLinesInOrder(progress.transcript(), {"Waiting for response", "\r\nServers response in short was:  ",
                                               "Which means something went wrong, times not updated"});
    EXPECT_EQ(progress.transcript().find("Closing connection"), std::string::npos);  // no status lines after Abort
}

TEST(OrvRankLogin, StoredOnlyWhileTheBoxIsTicked) {
    testsupport::ConfigSandbox sandbox;
    EXPECT_FALSE(movrane::orvranklogin().save);
    movrane::orvranklogin login;
    login.user = "ann";
    login.password = "secret";
    login.save = true;
    login.accept();
    movrane::orvranklogin stored;
    EXPECT_TRUE(stored.save);
    EXPECT_EQ(stored.user + "/" + stored.password, "ann/secret");
    stored.save = false;
    stored.accept();
    const movrane::orvranklogin cleared;
    EXPECT_FALSE(cleared.save);
    EXPECT_EQ(cleared.user + cleared.password, "");
}

}  // namespace
