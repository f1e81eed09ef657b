#pragma once

#include <cstddef>
#include <string>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace movrane {

// An INI profile file, read and written the way the simulator and this program use
// them: "[section]" lines, "key=value" lines, section and key names matched without
// regard to case, values trimmed of surrounding blanks and of one pair of enclosing
// double quotes. A missing file or section reads as empty. Writes change only the
// line concerned and keep every other line, comment included; the file is written
// with CR LF line ends (reading accepts LF and a lone CR too), and replaced atomically.
// A file saved with a byte order mark (UTF-8, UTF-16 LE) is read as ISO-8859-1 text and
// written back without it.
// Every call reads the file afresh: nothing is cached between calls.
class Profile {
public:
    explicit Profile(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }

    // The value of `key`, else `fallback`; at most bufferSize - 1 characters of it,
    // as a buffer of bufferSize bytes with its terminating zero holds.
    std::string getString(std::string_view section, std::string_view key, std::string_view fallback,
                          std::size_t bufferSize) const;
    // The value read as a decimal integer: blanks, an optional sign, digits up to the
    // first other character (no digits gives 0; the result is clamped to int). A
    // missing key gives `fallback`.
    int getInt(std::string_view section, std::string_view key, int fallback) const;
    // Section names in file order, each once.
    std::vector<std::string> sectionNames() const;
    bool hasSection(std::string_view section) const;

    // Sets key=value, creating the file, the section or the key as needed. Refuses
    // (false, file unchanged) a line end in any part, "]" in the section name, and an
    // empty key or one holding "=".
    bool writeString(std::string_view section, std::string_view key, std::string_view value);
    // True when the key is gone afterwards (also when it never existed).
    bool deleteKey(std::string_view section, std::string_view key);
    // Removes the section with its keys and comments; true when it is gone afterwards.
    bool deleteSection(std::string_view section);

    // One change of a batch: a key set to a value, or (without a key) a section removed.
    struct Change {
        std::string section;
        std::string key;
        std::string value;
        static Change write(std::string section, std::string key, std::string value) {
            return {std::move(section), std::move(key), std::move(value)};
        }
        static Change removeSection(std::string section) { return {std::move(section), {}, {}}; }
    };
    // Applies the changes in order to one reading of the file and writes it once, as
    // the single calls would have left it. A change the single call would refuse
    // refuses the whole batch (false, file unchanged).
    bool apply(const std::vector<Change>& changes);

private:
    std::string path_;
};

// A profile file as it was read once, with the reading rules of Profile, for readers
// that look up many keys: a file of thousands of sections read key by key through
// Profile would be read thousands of times.
class ProfileSnapshot {
public:
    explicit ProfileSnapshot(const std::string& path);

    std::string getString(std::string_view section, std::string_view key, std::string_view fallback,
                          std::size_t bufferSize) const;
    int getInt(std::string_view section, std::string_view key, int fallback) const;
    const std::vector<std::string>& sectionNames() const { return sectionNames_; }
    bool hasSection(std::string_view section) const;

private:
    // The lines of the first section of a name: its header line and the lines up to
    // the next header.
    struct Range {
        std::size_t begin;
        std::size_t end;
    };
    std::optional<std::string_view> value(std::string_view section, std::string_view key) const;

    std::vector<std::string> lines_;
    std::unordered_map<std::string, Range> sections_;  // by lower-case name
    std::vector<std::string> sectionNames_;
};

// Decimal text-to-integer with the rules of Profile::getInt.
int decimalToInt(std::string_view text);

}  // namespace movrane
