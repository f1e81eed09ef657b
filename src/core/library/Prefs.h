#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/library/Settings.h"
#include "core/platform/CRegistry.h"
#include "core/platform/Singleton.h"

namespace movrane {

// The process-wide preferences, loaded from the settings key when first used. Setters
// change memory only; save() writes every persisted value.
class Prefs {
public:
    // One setting as the settings command shows it.
    struct Entry {
        std::string name;    // registry value name
        std::string type;    // "dword", "signed dword" or "string"
        std::string value;   // as text
        std::string origin;  // where the loaded value came from
    };

    Prefs();  // on the store named by the environment
    explicit Prefs(RegistryStore store);
    Prefs(const Prefs&) = delete;
    Prefs& operator=(const Prefs&) = delete;

    // The single instance.
    static Prefs& get() { return Singleton<Prefs>::instance(); }

    uint32_t speedUnit() const { return speedUnit_; }  // 0 km/h, 1 mph
    void setSpeedUnit(uint32_t value) { speedUnit_ = value; }
    uint32_t qualityReportOff() const { return qualityReportOff_; }
    void setQualityReportOff(uint32_t value) { qualityReportOff_ = value; }
    uint32_t retireInRaceReport() const { return retireInRaceReport_; }
    void setRetireInRaceReport(uint32_t value) { retireInRaceReport_ = value; }
    uint32_t offTheTrackInRaceReport() const { return offTheTrackInRaceReport_; }
    void setOffTheTrackInRaceReport(uint32_t value) { offTheTrackInRaceReport_ = value; }
    uint32_t bmpSizeInPixel() const { return bmpSizeInPixel_; }
    void setBmpSizeInPixel(uint32_t value) { bmpSizeInPixel_ = value; }
    int32_t defaultPlayerIndex() const { return defaultPlayerIndex_; }  // -1 none
    void setDefaultPlayerIndex(int32_t value) { defaultPlayerIndex_ = value; }
    uint32_t exclusionMessages() const { return exclusionMessages_; }
    void setExclusionMessages(uint32_t value) { exclusionMessages_ = value; }
    const std::string& orvDirectory() const { return orvDirectory_; }
    void setOrvDirectory(const std::string& value) { orvDirectory_ = value; }
    const std::string& altRpyPath() const { return altRpyPath_; }
    void setAltRpyPath(const std::string& value) { altRpyPath_ = value; }
    const std::string& recordsPath() const { return recordsPath_; }
    void setRecordsPath(const std::string& value) { recordsPath_ = value; }
    // The ranking service's "HOST[:PORT]"; empty when none is configured.
    const std::string& orvRankHost() const { return orvRankHost_; }
    // The folder of the running program, for files shipped beside it.
    const std::string& programDirectory() const { return programDirectory_; }
    void setProgramFile(const std::string& programPath);

    // Writes every persisted value, in the order the program has always written them.
    // False when any write failed (the others are still written).
    bool save();

    // Every persisted setting in declaration order, with its loaded origin.
    std::vector<Entry> entries() const;
    // Sets one setting, named by its value name (any case), from text parsed by its
    // type, and writes that value alone. Memory changes only when the write succeeded;
    // `error` tells why it was refused.
    enum class SetResult { Done, UnknownName, BadValue, NotWritten };
    SetResult setAndSave(std::string_view name, std::string_view text, std::string& error);

    const RegistryStore& store() const { return registry_.store(); }

private:
    friend struct PrefsFields;

    void load();
    void loadOrvDirectory();

    uint32_t speedUnit_ = 0;
    uint32_t qualityReportOff_ = 0;
    uint32_t retireInRaceReport_ = 0;
    uint32_t offTheTrackInRaceReport_ = 0;
    uint32_t bmpSizeInPixel_ = 0;
    int32_t defaultPlayerIndex_ = 0;
    uint32_t exclusionMessages_ = 0;
    std::string orvDirectory_;
    std::string altRpyPath_;
    std::string recordsPath_;
    std::string orvRankHost_;
    std::string programDirectory_;
    CRegistry registry_;

    std::map<std::string, std::string> origins_;
};

}  // namespace movrane
