#include "core/app/RecentFileList.h"

#include <algorithm>

#include "core/platform/CRegistry.h"

namespace movrane {

namespace {
std::string entryName(int index) { return "File" + std::to_string(index + 1); }
}  // namespace

RecentFileList::RecentFileList() : RecentFileList(RegistryStore::fromEnvironment()) {}

RecentFileList::RecentFileList(RegistryStore store) : store_(std::move(store)) { load(); }

void RecentFileList::load() {
    CRegistry registry(store_);
    if (!registry.openKey(RootKey::CurrentUser, KEY)) return;
    for (int i = 0; i < SIZE; ++i) {
        std::string path;
        if (registry.readString(entryName(i), path) && !path.empty()) files_.push_back(path);
    }
}

void RecentFileList::add(const std::string& path) {
    if (path.empty()) return;
    std::erase(files_, path);
    files_.insert(files_.begin(), path);
    if (files_.size() > static_cast<std::size_t>(SIZE)) files_.resize(SIZE);
    save();
}

void RecentFileList::remove(const std::string& path) {
    std::erase(files_, path);
    save();
}

// Rewrites every entry, so that a list that got shorter leaves no old entry behind.
void RecentFileList::save() {
    CRegistry registry(store_);
    if (!registry.createKey(RootKey::CurrentUser, KEY)) return;
    for (int i = 0; i < SIZE; ++i) {
        if (i < static_cast<int>(files_.size()))
            registry.writeString(entryName(i), files_[static_cast<std::size_t>(i)]);
        else if (registry.valueExists(entryName(i)))
            registry.deleteValue(entryName(i));
    }
}

}  // namespace movrane
