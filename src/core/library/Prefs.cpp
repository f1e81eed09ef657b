#include "core/library/Prefs.h"

#include <charconv>
#include <limits>
#include <variant>

#include "core/platform/Paths.h"
#include "core/platform/WinePaths.h"

namespace movrane {

// Ties each setting's key to its field; a friend of Prefs, so the pointers to members
// are formed here only.
template <class T>
struct PrefsField {
    const SettingKey<T>* key;
    T Prefs::*member;
};
using AnyField = std::variant<PrefsField<uint32_t>, PrefsField<int32_t>, PrefsField<std::string>>;

struct PrefsFields {
    static const std::vector<AnyField>& declarationOrder();
    static const std::vector<AnyField>& saveOrder();
};

namespace {

const char* typeName(const PrefsField<uint32_t>&) { return "dword"; }
const char* typeName(const PrefsField<int32_t>&) { return "signed dword"; }
const char* typeName(const PrefsField<std::string>&) { return "string"; }

std::string asText(uint32_t value) { return std::to_string(value); }
std::string asText(int32_t value) { return std::to_string(value); }
std::string asText(const std::string& value) { return value; }

template <class Int>
bool parseInteger(std::string_view text, Int& value) {
    long long parsed = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    if (parsed < std::numeric_limits<Int>::min() || parsed > std::numeric_limits<Int>::max()) return false;
    value = static_cast<Int>(parsed);
    return true;
}

bool parseValue(std::string_view text, uint32_t& value, std::string& error) {
    if (parseInteger(text, value)) return true;
    error = "expected a whole number from 0 to 4294967295";
    return false;
}

bool parseValue(std::string_view text, int32_t& value, std::string& error) {
    if (parseInteger(text, value)) return true;
    error = "expected a whole number from -2147483648 to 2147483647";
    return false;
}

// The text settings are folders, kept whole whatever their length.
bool parseValue(std::string_view text, std::string& value, std::string&) {
    value = std::string(text);
    return true;
}

const AnyField* findField(std::string_view name) {
    for (const AnyField& field : PrefsFields::declarationOrder()) {
        const char* fieldName = std::visit([](const auto& f) { return f.key->name; }, field);
        if (equalsIgnoreCase(fieldName, name)) return &field;
    }
    return nullptr;
}

}  // namespace

const std::vector<AnyField>& PrefsFields::declarationOrder() {
    static const std::vector<AnyField> fields = {
        PrefsField<uint32_t>{&setting::MPH, &Prefs::speedUnit_},
        PrefsField<uint32_t>{&setting::DONT_SHOW_QUAL_REPORT, &Prefs::qualityReportOff_},
        PrefsField<uint32_t>{&setting::RETIRE_IN_RACE_REPORT, &Prefs::retireInRaceReport_},
        PrefsField<uint32_t>{&setting::OFF_THE_TRACK_IN_RACE_REPORT, &Prefs::offTheTrackInRaceReport_},
        PrefsField<uint32_t>{&setting::BMP_SIZE_IN_PIXEL, &Prefs::bmpSizeInPixel_},
        PrefsField<int32_t>{&setting::DEFAULT_PLAYER_INDEX, &Prefs::defaultPlayerIndex_},
        PrefsField<uint32_t>{&setting::VIZ_UZIV_MSG, &Prefs::exclusionMessages_},
        PrefsField<std::string>{&setting::ORV_DIRECTORY, &Prefs::orvDirectory_},
        PrefsField<std::string>{&setting::ALT_RPY_PATH, &Prefs::altRpyPath_},
        PrefsField<std::string>{&setting::RECORDS_PATH, &Prefs::recordsPath_},
        // Written on its own (Settings OK, the command line); the preferences' save leaves it alone.
        PrefsField<std::string>{&setting::ORVRANK_HOST, &Prefs::orvRankHost_},
    };
    return fields;
}

const std::vector<AnyField>& PrefsFields::saveOrder() {
    static const std::vector<AnyField> fields = {
        *findField(setting::ORV_DIRECTORY.name),
        *findField(setting::DONT_SHOW_QUAL_REPORT.name),
        *findField(setting::RETIRE_IN_RACE_REPORT.name),
        *findField(setting::OFF_THE_TRACK_IN_RACE_REPORT.name),
        *findField(setting::BMP_SIZE_IN_PIXEL.name),
        *findField(setting::MPH.name),
        *findField(setting::ALT_RPY_PATH.name),
        *findField(setting::RECORDS_PATH.name),
        *findField(setting::DEFAULT_PLAYER_INDEX.name),
        *findField(setting::VIZ_UZIV_MSG.name),
    };
    return fields;
}

Prefs::Prefs() : Prefs(RegistryStore::fromEnvironment()) {}

Prefs::Prefs(RegistryStore store) : registry_(std::move(store)) {
    setProgramFile(runningProgramPath());
    load();
}

void Prefs::setProgramFile(const std::string& programPath) { programDirectory_ = cutAtLastSeparator(programPath); }

void Prefs::load() {
    if (!registry_.openKey(RootKey::CurrentUser, SETTINGS_KEY)) registry_.createKey(RootKey::CurrentUser, SETTINGS_KEY);
    for (const AnyField& field : PrefsFields::declarationOrder()) {
        std::visit(
            [this](const auto& f) {
                if (f.key->name == setting::ORV_DIRECTORY.name) return;
                const bool stored = readSetting(registry_, *f.key, this->*f.member);
                origins_[f.key->name] = stored ? "stored in " + registry_.lastSource() : "default";
            },
            field);
    }
    loadOrvDirectory();
    registry_.close();
}

void Prefs::loadOrvDirectory() {
    if (readSetting(registry_, setting::ORV_DIRECTORY, orvDirectory_)) {
        origins_[setting::ORV_DIRECTORY.name] = "stored in " + registry_.lastSource();
        return;
    }
    CRegistry machine(registry_.store());
    std::string found;
    if (machine.openKey(RootKey::LocalMachine, SIMULATOR_KEY) && machine.readPath(SIMULATOR_DIRECTORY_VALUE, found)) {
        orvDirectory_ = mapDrivePath(found, registry_.store().locations().winePrefix);
        origins_[setting::ORV_DIRECTORY.name] = "simulator key in " + machine.lastSource() +
                                                (orvDirectory_ == found ? "" : " (\"" + found + "\")");
        return;
    }
    orvDirectory_.clear();
    origins_[setting::ORV_DIRECTORY.name] = "default (no simulator key)";
}

bool Prefs::save() {
    bool allWritten = registry_.openKey(RootKey::CurrentUser, SETTINGS_KEY) ||
                      registry_.createKey(RootKey::CurrentUser, SETTINGS_KEY);
    for (const AnyField& field : PrefsFields::saveOrder()) {
        allWritten = std::visit([this](const auto& f) { return writeSetting(registry_, *f.key, this->*f.member); },
                                field) &&
                     allWritten;
    }
    registry_.close();
    return allWritten;
}

std::vector<Prefs::Entry> Prefs::entries() const {
    std::vector<Entry> list;
    for (const AnyField& field : PrefsFields::declarationOrder()) {
        list.push_back(std::visit(
            [this](const auto& f) {
                const auto origin = origins_.find(f.key->name);
                return Entry{f.key->name, typeName(f), asText(this->*f.member),
                             origin == origins_.end() ? std::string() : origin->second};
            },
            field));
    }
    return list;
}

Prefs::SetResult Prefs::setAndSave(std::string_view name, std::string_view text, std::string& error) {
    const AnyField* field = findField(name);
    if (!field) {
        error = "no setting is called '" + std::string(name) + "'";
        return SetResult::UnknownName;
    }
    return std::visit(
        [&](const auto& f) {
            auto value = this->*f.member;
            if (!parseValue(text, value, error)) return SetResult::BadValue;
            if (!registry_.createKey(RootKey::CurrentUser, SETTINGS_KEY) || !writeSetting(registry_, *f.key, value)) {
                registry_.close();
                error = "the settings file " + registry_.store().filePath(RootKey::CurrentUser) + " cannot be written";
                return SetResult::NotWritten;
            }
            registry_.close();
            this->*f.member = value;
            origins_[f.key->name] = "stored in " + registry_.store().filePath(RootKey::CurrentUser);
            return SetResult::Done;
        },
        *field);
}

}  // namespace movrane
