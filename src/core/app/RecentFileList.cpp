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
        if (registry.readPath(entryName(i), path) && !path.empty()) files_.push_back(path);
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

// Stores the whole list in one rewrite: the entries never shift or double, and a list
// that got shorter leaves no old entry behind.
void RecentFileList::save() {
    std::vector<RegValue> entries;
    for (std::size_t i = 0; i < files_.size(); ++i)
        entries.push_back(RegValue::string(entryName(static_cast<int>(i)), files_[i]));
    store_.replaceValues(RootKey::CurrentUser, KEY, std::move(entries));
}

}  // namespace movrane
