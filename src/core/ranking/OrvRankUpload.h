#pragma once

#include <optional>
#include <string>

#include "core/ranking/OrvRankUploadProgress.h"

namespace movrane {

struct RecordsTable;
class Ui;

// "OrvRank Login": the user name and password for the upload, kept in the settings
// store only while "Save login info ..." is ticked.
class orvranklogin {
public:
    static constexpr const char* TITLE = "OrvRank Login";
    static constexpr const char* USER_LABEL = "User ID:";
    static constexpr const char* PASSWORD_LABEL = "Password:";
    static constexpr const char* SAVE_LABEL = "Save login info in registry (Note! Will be saved uncrypted)";

    // The stored login, when there is one; then the save box starts ticked.
    orvranklogin();

    std::string user;
    std::string password;
    bool save = false;

    // OK: stores the login when the box is ticked, removes a stored one when it is not.
    void accept() const;
};

// Shows the progress window over an exchange (the desktop), or just runs it.
class UploadProgressRunner {
public:
    virtual ~UploadProgressRunner() = default;
    virtual void run(OrvRankUploadProgress& progress) = 0;
};

inline constexpr const char* NO_ORVRANK_HOST_MESSAGE =
    "No OrvRank server is set.\r\nSet its address (HOST[:PORT]) in Settings, or with\r\n"
    "'movrane-cli settings set OrvRankHost HOST[:PORT]'.";

// The upload after the login: writes the lap-times file into the temporary folder, runs
// the exchange through `runner` and deletes the file again whatever happened. Nothing
// when it did not start (no host, the file not written), after a message.
std::optional<OrvRankUploadProgress::Judgement> uploadLapTimes(const RecordsTable& table, const std::string& host,
                                                               const std::string& user, const std::string& password,
                                                               Ui& ui, UploadProgressRunner& runner,
                                                               long timeoutSeconds = 30);

}  // namespace movrane
