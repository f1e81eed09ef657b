#include "core/platform/RegistryStore.h"

#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "core/platform/Files.h"
#include "core/platform/Paths.h"

namespace movrane {

namespace {

constexpr unsigned STORE_FILE_MODE = 0600;
const char* const WOW64_PREFIX = "Software\\Wow6432Node\\";

std::vector<std::string>& notices() {
    static std::vector<std::string> pending;
    return pending;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string homeFolder() {
    const std::string home = environment("HOME");
    return home.empty() ? std::string(".") : home;
}

std::string timeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y%m%d-%H%M%S", &parts);
    return buf;
}

// Moves an unreadable store file out of the way under a name that is not taken yet.
std::string setAside(const std::string& path) {
    const std::string base = path + ".unreadable-" + timeStamp();
    std::string aside = base;
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(aside, ec); ++n) aside = base + "-" + std::to_string(n);
    std::filesystem::rename(path, aside, ec);
    return ec ? std::string() : aside;
}

void reportUnreadable(const std::string& path, const std::string& reason, const std::string& aside) {
    std::string text = "The settings file " + path + " could not be read (" + reason + "); ";
    text += aside.empty() ? "it could not be moved aside either" : "it was kept as " + aside;
    text += ", and default settings are used.";
    notices().push_back(std::move(text));
}

// "Software\Sellory\X" -> "Software\Wow6432Node\Sellory\X", where a 32-bit program's
// machine keys live in a 64-bit Wine prefix.
std::string wow64Path(const std::string& key) {
    constexpr std::string_view software = "Software\\";
    if (key.size() <= software.size() || !equalsIgnoreCase(std::string_view(key).substr(0, software.size()), software))
        return {};
    return WOW64_PREFIX + key.substr(software.size());
}

const RegKey* findWineKey(const RegHive& wine, const std::string& key) {
    if (const RegKey* k = wine.find(key)) return k;
    const std::string wow = wow64Path(key);
    return wow.empty() ? nullptr : wine.find(wow);
}

}  // namespace

const char* rootKeyName(RootKey root) {
    return root == RootKey::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

StoreLocations StoreLocations::fromEnvironment() {
    StoreLocations where;
    where.configDir = environment("MOVRANE_CONFIG_DIR");
    if (where.configDir.empty()) {
        const std::string xdg = environment("XDG_CONFIG_HOME");
        where.configDir = joinPath(xdg.empty() ? joinPath(homeFolder(), ".config") : xdg, "Movrane");
    }
    where.winePrefix = environment("WINEPREFIX");
    if (where.winePrefix.empty()) where.winePrefix = joinPath(homeFolder(), ".wine");
    return where;
}

RegistryStore::RegistryStore(StoreLocations locations) : locations_(std::move(locations)) {}

std::string RegistryStore::filePath(RootKey root) const {
    return joinPath(locations_.configDir, std::string(rootKeyName(root)) + ".reg");
}

std::string RegistryStore::wineRegistryPath() const { return joinPath(locations_.winePrefix, "system.reg"); }

RegHive RegistryStore::load(RootKey root) const {
    const std::string path = filePath(root);
    std::string text;
    if (!readWholeFile(path, text)) return {};
    return parseOrSetAside(path, text);
}

std::optional<RegHive> RegistryStore::loadForChange(RootKey root) const {
    const std::string path = filePath(root);
    std::string text;
    if (readWholeFile(path, text)) return parseOrSetAside(path, text);
    // A file that exists but cannot be read is not overwritten with a single value.
    std::error_code ec;
    if (std::filesystem::exists(path, ec) || ec) return std::nullopt;
    return RegHive{};
}

RegHive RegistryStore::parseOrSetAside(const std::string& path, const std::string& text) const {
    RegHive hive;
    std::string reason;
    if (parseRegistryText(text, hive, reason)) return hive;
    reportUnreadable(path, reason, setAside(path));
    return {};
}

bool RegistryStore::save(RootKey root, const RegHive& hive) {
    std::error_code ec;
    if (std::filesystem::create_directories(locations_.configDir, ec)) ::chmod(locations_.configDir.c_str(), 0700);
    return writeFileAtomically(filePath(root), formatRegistryText(hive), STORE_FILE_MODE);
}

bool RegistryStore::keyExists(RootKey root, const std::string& key) const {
    if (load(root).find(key)) return true;
    return root == RootKey::LocalMachine && findWineKey(loadWine(), key);
}

bool RegistryStore::createKey(RootKey root, const std::string& key) {
    auto hive = loadForChange(root);
    if (!hive) return false;
    if (hive->find(key)) return true;
    hive->findOrAdd(key);
    return save(root, *hive);
}

std::optional<StoredValue> RegistryStore::read(RootKey root, const std::string& key, const std::string& name) const {
    const RegHive hive = load(root);
    if (const RegKey* k = hive.find(key)) {
        if (const RegValue* v = k->find(name)) return StoredValue{*v, filePath(root)};
    }
    if (root == RootKey::LocalMachine) return readWine(key, name);
    return std::nullopt;
}

RegHive RegistryStore::loadWine() const {
    std::string text;
    if (!readWholeFile(wineRegistryPath(), text)) return {};
    return parseWineRegistryText(text);
}

std::optional<StoredValue> RegistryStore::readWine(const std::string& key, const std::string& name) const {
    const RegHive wine = loadWine();
    const RegKey* k = findWineKey(wine, key);
    const RegValue* v = k ? k->find(name) : nullptr;
    if (!v) return std::nullopt;
    return StoredValue{*v, wineRegistryPath()};
}

bool RegistryStore::write(RootKey root, const std::string& key, RegValue value) {
    auto hive = loadForChange(root);
    if (!hive) return false;
    RegKey& k = hive->findOrAdd(key);
    if (RegValue* existing = k.find(value.name)) {
        value.name = existing->name;
        *existing = std::move(value);
    } else {
        k.values.push_back(std::move(value));
    }
    return save(root, *hive);
}

bool RegistryStore::replaceValues(RootKey root, const std::string& key, std::vector<RegValue> values) {
    auto hive = loadForChange(root);
    if (!hive) return false;
    hive->findOrAdd(key).values = std::move(values);
    return save(root, *hive);
}

bool RegistryStore::remove(RootKey root, const std::string& key, const std::string& name) {
    auto hive = loadForChange(root);
    RegKey* k = hive ? hive->find(key) : nullptr;
    if (!k || !k->find(name)) return false;
    std::erase_if(k->values, [&](const RegValue& v) { return equalsIgnoreCase(v.name, name); });
    return save(root, *hive);
}

std::vector<std::string> takeStoreNotices() {
    std::vector<std::string> taken;
    taken.swap(notices());
    return taken;
}

void showStoreNotices(Ui& ui) {
    for (const std::string& notice : takeStoreNotices()) ui.message(notice, {}, Ui::Icon::Warning);
}

}  // namespace movrane
