#include "core/ranking/OrvRankUpload.h"

#include <filesystem>

#include "core/library/RecordsExport.h"
#include "core/library/Settings.h"
#include "core/platform/Ui.h"

namespace movrane {

namespace {

// Removes the upload file when the upload ends, however it ends.
class RemovedAtEnd {
public:
    explicit RemovedAtEnd(std::string path) : path_(std::move(path)) {}
    ~RemovedAtEnd() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    RemovedAtEnd(const RemovedAtEnd&) = delete;
    RemovedAtEnd& operator=(const RemovedAtEnd&) = delete;

private:
    std::string path_;
};

}  // namespace

orvranklogin::orvranklogin() {
    CRegistry key;
    if (!key.openKey(RootKey::CurrentUser, SETTINGS_KEY) || !key.valueExists(setting::ORVRANK_USER.name)) return;
    readSetting(key, setting::ORVRANK_USER, user);
    readSetting(key, setting::ORVRANK_PW, password);
    save = true;
}

void orvranklogin::accept() const {
    CRegistry key;
    if (!key.createKey(RootKey::CurrentUser, SETTINGS_KEY)) return;
    if (save) {
        writeSetting(key, setting::ORVRANK_USER, user);
        writeSetting(key, setting::ORVRANK_PW, password);
        return;
    }
    key.deleteValue(setting::ORVRANK_USER.name);
    key.deleteValue(setting::ORVRANK_PW.name);
}

std::optional<OrvRankUploadProgress::Judgement> uploadLapTimes(const RecordsTable& table, const std::string& host,
                                                               const std::string& user, const std::string& password,
                                                               Ui& ui, UploadProgressRunner& runner,
                                                               long timeoutSeconds) {
    if (host.empty()) {
        ui.message(NO_ORVRANK_HOST_MESSAGE, {}, Ui::Icon::Warning);
        return std::nullopt;
    }
    const std::string path = OrvRankUploadProgress::uploadFilePath();
    RemovedAtEnd removed(path);
    if (!clearTemporaryPath(path) || !writeLapTimesFile(path, table)) {
        ui.message("Error creating temp file!", {}, Ui::Icon::Warning, path);
        return std::nullopt;
    }
    OrvRankUploadProgress progress({host, path, credentialsToken(user, password), user, password, timeoutSeconds}, ui);
    runner.run(progress);
    progress.close();
    return progress.judgement();
}

}  // namespace movrane
