#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/platform/RegistryText.h"
#include "core/platform/Ui.h"

namespace movrane {

enum class RootKey { CurrentUser, LocalMachine };

const char* rootKeyName(RootKey root);

// Where the store files live and which Wine prefix is consulted.
struct StoreLocations {
    std::string configDir;
    std::string winePrefix;

    // $MOVRANE_CONFIG_DIR, else $XDG_CONFIG_HOME/Movrane, else ~/.config/Movrane;
    // $WINEPREFIX, else ~/.wine.
    static StoreLocations fromEnvironment();
};

// A value together with the file it was read from.
struct StoredValue {
    RegValue value;
    std::string source;
};

// The persistent registry: one REGEDIT4-style file per root key in the configuration
// folder. Every call reads the file afresh and every change rewrites it atomically
// (mode 0600, it may hold a login), so two processes never see half a file and a
// change made elsewhere is not overwritten with stale data. Reads of the machine root
// fall back to the Wine prefix's "system.reg", which is only ever read.
//
// A store file that cannot be parsed is renamed aside, reported once through
// takeStoreNotices(), and treated as empty.
class RegistryStore {
public:
    explicit RegistryStore(StoreLocations locations);
    static RegistryStore fromEnvironment() { return RegistryStore(StoreLocations::fromEnvironment()); }

    const StoreLocations& locations() const { return locations_; }
    std::string filePath(RootKey root) const;
    std::string wineRegistryPath() const;

    bool keyExists(RootKey root, const std::string& key) const;
    bool createKey(RootKey root, const std::string& key);
    std::optional<StoredValue> read(RootKey root, const std::string& key, const std::string& name) const;
    bool write(RootKey root, const std::string& key, RegValue value);
    // Gives the key exactly these values (creating it), in one rewrite of the file, so a
    // list kept in a key is stored whole or not at all.
    bool replaceValues(RootKey root, const std::string& key, std::vector<RegValue> values);
    // False when the value does not exist or the file cannot be rewritten.
    bool remove(RootKey root, const std::string& key, const std::string& name);

private:
    RegHive load(RootKey root) const;
    // Nothing when the file exists but cannot be read: then it must not be replaced.
    std::optional<RegHive> loadForChange(RootKey root) const;
    RegHive parseOrSetAside(const std::string& path, const std::string& text) const;
    bool save(RootKey root, const RegHive& hive);
    RegHive loadWine() const;
    std::optional<StoredValue> readWine(const std::string& key, const std::string& name) const;

    StoreLocations locations_;
};

// Messages about store files that were unreadable and set aside since the last call.
std::vector<std::string> takeStoreNotices();
// Tells each of those messages once, as a warning.
void showStoreNotices(Ui& ui);

}  // namespace movrane
