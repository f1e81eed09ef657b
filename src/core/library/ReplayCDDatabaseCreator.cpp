#include "core/library/ReplayCDDatabaseCreator.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/library/ReplayDatabase.h"
#include "core/library/ReplayLibrary.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/platform/Ui.h"

namespace movrane {

namespace fs = std::filesystem;

namespace {

constexpr const char* NO_REPLAY_FILES = "No replay files found on selected media, aborting...";
constexpr const char* DATABASE_NOT_CREATED = "Error creating database file, aborting...";

// The replay's path on the medium: below the root, without it.
std::string pathOnMedium(const std::string& root, const std::string& file) {
    return fs::path(file).lexically_relative(root).generic_string();
}

// A name typed by the person must stay a file name inside the database folder.
std::string asFileName(std::string name) {
    std::replace_if(name.begin(), name.end(), [](char c) { return isPathSeparator(c) || c == '\0'; }, '_');
    return name;
}

}  // namespace

std::vector<std::string> replayFilesBelow(const std::string& root) {
    std::vector<std::string> files;
    std::error_code ec;
    fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec);
    if (ec) return files;
    for (; it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (ec) break;
        if (hasExtension(it->path().filename().string(), ".rpy") && it->is_regular_file(ec))
            files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

ReplayCDDatabaseCreator::ReplayCDDatabaseCreator(std::string installation, const DriveList& drives, Ui& ui)
    : installation_(std::move(installation)), driveList_(drives), ui_(ui) {
    rescan();
}

void ReplayCDDatabaseCreator::rescan() { drives_ = driveList_.removableDrives(); }

std::vector<std::string> ReplayCDDatabaseCreator::entries() const {
    std::vector<std::string> texts;
    for (const DriveInfo& drive : drives_) texts.push_back(drive.root + " " + (drive.hasMedium() ? drive.label : NO_DISK));
    if (texts.empty()) texts.emplace_back(NO_DRIVES);
    return texts;
}

bool ReplayCDDatabaseCreator::canCreate() const {
    return std::any_of(drives_.begin(), drives_.end(), [](const DriveInfo& d) { return d.hasMedium(); });
}

std::optional<std::string> ReplayCDDatabaseCreator::create(std::size_t index, RpyDBFilename& names) {
    if (index >= drives_.size()) return std::nullopt;
    // A drive without a medium holds no replay files.
    if (!drives_[index].hasMedium()) {
        ui_.message(NO_REPLAY_FILES);
        return std::nullopt;
    }
    return create(drives_[index], names);
}

std::optional<std::string> ReplayCDDatabaseCreator::chooseDatabasePath(const std::string& folder,
                                                                       const std::string& label,
                                                                       RpyDBFilename& names) {
    std::string proposed = label;
    for (;;) {
        const auto name = names.askName(proposed);
        if (!name) return std::nullopt;
        const std::string path = joinPath(folder, asFileName(*name) + CDDB_EXTENSION);
        std::error_code ec;
        if (!fs::exists(path, ec)) return path;
        const Ui::Answer answer = ui_.askYesNoCancel("File already exists, overwrite?");
        if (answer == Ui::Answer::Yes) return path;
        if (answer == Ui::Answer::Cancel) return std::nullopt;
        proposed = *name;
    }
}

std::optional<std::string> ReplayCDDatabaseCreator::create(const DriveInfo& drive, RpyDBFilename& names) {
    const std::vector<std::string> files = replayFilesBelow(drive.root);
    if (files.empty()) {
        ui_.message(NO_REPLAY_FILES);
        return std::nullopt;
    }
    const std::string folder = resolveUnder(installation_, CDDB_FOLDER);
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        ui_.message("The following directory will be created and will\r\ncontain replay CD databases:\r\n\r\n" + folder);
        if (!fs::create_directories(folder, ec) && !fs::is_directory(folder, ec)) {
            ui_.message("Error creating directory, aborting...", {}, Ui::Icon::Warning);
            return std::nullopt;
        }
    }
    const auto path = chooseDatabasePath(folder, drive.label, names);
    if (!path) return std::nullopt;

    // The file is created before any replay is read, so a database that cannot be
    // created stops the flow at once; it replaces an existing one only when complete.
    AtomicFile database(*path);
    if (!database.write(encodeDatabaseStart(drive.label, static_cast<uint32_t>(files.size())))) {
        ui_.message(DATABASE_NOT_CREATED, {}, Ui::Icon::Warning);
        return std::nullopt;
    }
    std::size_t written = 0;
    {
        Progress progress(ui_, static_cast<int>(files.size()));
        for (std::size_t i = 0; i < files.size(); ++i) {
            ReplaySummary replay;
            if (readReplay(files[i], [](const std::string&) { return true; }, replay) == ReplayRead::Read) {
                database.write(encodeDatabaseRecord(pathOnMedium(drive.root, files[i]), replay));
                ++written;
            } else {
                ui_.message(files[i] + "\r\nFile will not be included in the database.", REPLAY_READ_ERROR_CAPTION,
                            Ui::Icon::Warning);
            }
            progress.set(static_cast<int>(i + 1));
        }
    }
    if (!database.commit()) {
        ui_.message(DATABASE_NOT_CREATED, {}, Ui::Icon::Warning);
        return std::nullopt;
    }
    ui_.message("The replay CD contained " + std::to_string(files.size()) + " replays,\r\n" +
                (written == files.size() ? std::string("all") : std::to_string(written)) +
                " were added to the database.");
    return path;
}

}  // namespace movrane
