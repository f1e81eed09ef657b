#include "core/platform/Profile.h"

#include <sys/stat.h>

#include <climits>
#include <optional>

#include "core/platform/Files.h"
#include "core/platform/Paths.h"

namespace movrane {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// The bytes of a file an editor saved with a byte order mark: UTF-8 loses its mark,
// UTF-16 LE becomes ISO-8859-1 bytes (characters beyond it become '?'), as the profile
// functions read such files; anything else stays as it is.
std::string withoutByteOrderMark(std::string_view raw) {
    if (raw.starts_with("\xEF\xBB\xBF")) return std::string(raw.substr(3));
    if (!raw.starts_with("\xFF\xFE")) return std::string(raw);
    std::string text;
    for (std::size_t i = 2; i + 1 < raw.size(); i += 2) {
        const unsigned unit = static_cast<unsigned char>(raw[i]) | static_cast<unsigned char>(raw[i + 1]) << 8;
        text += unit <= 0xFF ? static_cast<char>(unit) : '?';
    }
    return text;
}

// The file as lines without their line ends: CR LF, LF, or a CR alone (a file whose
// line ends were turned into old-style CRs would otherwise read as one line).
struct IniLines {
    std::vector<std::string> lines;

    static IniLines fromText(std::string_view raw) {
        const std::string decoded = withoutByteOrderMark(raw);
        const std::string_view text = decoded;
        IniLines ini;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find_first_of("\r\n", start);
            if (end == std::string_view::npos) end = text.size();
            ini.lines.emplace_back(text.substr(start, end - start));
            start = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
        }
        return ini;
    }

    std::string toText() const {
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        return text;
    }
};

// "[name]" -> name; no closing bracket takes the rest of the line.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trim(line);
    if (!line.starts_with('[')) return std::nullopt;
    line.remove_prefix(1);
    const std::size_t close = line.find(']');
    return close == std::string_view::npos ? line : line.substr(0, close);
}

std::optional<std::string_view> keyName(std::string_view line) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return trim(line.substr(0, eq));
}

std::string_view valueOf(std::string_view line) {
    std::string_view value = trim(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return value;
}

// Lines [begin, end) of the first section with this name; begin is its header line.
struct SectionRange {
    std::size_t begin;
    std::size_t end;
};

std::optional<SectionRange> findSection(const IniLines& ini, std::string_view section) {
    for (std::size_t i = 0; i < ini.lines.size(); ++i) {
        const auto name = sectionName(ini.lines[i]);
        if (!name || !equalsIgnoreCase(*name, section)) continue;
        std::size_t end = i + 1;
        while (end < ini.lines.size() && !sectionName(ini.lines[end])) ++end;
        return SectionRange{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const std::vector<std::string>& lines, const SectionRange& range,
                                   std::string_view key) {
    for (std::size_t i = range.begin + 1; i < range.end; ++i) {
        const auto name = keyName(lines[i]);
        if (name && equalsIgnoreCase(*name, key)) return i;
    }
    return std::nullopt;
}

IniLines readLines(const std::string& path) {
    std::string text;
    readWholeFile(path, text);
    return IniLines::fromText(text);
}

// Reads the file for a change. A file that exists but cannot be read is not touched.
std::optional<IniLines> readForChange(const std::string& path) {
    std::string text;
    if (readWholeFile(path, text)) return IniLines::fromText(text);
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) return std::nullopt;
    return IniLines{};
}

bool writeLines(const std::string& path, const IniLines& ini) { return writeFileAtomically(path, ini.toText()); }

// A line end inside a name or value would split the line and corrupt the file; a
// "]" in a section name or "=" in a key would change what the line means.
bool fitsOnOneLine(std::string_view section, std::string_view key, std::string_view value) {
    const auto hasLineEnd = [](std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; };
    return !hasLineEnd(section) && !hasLineEnd(key) && !hasLineEnd(value) && section.find(']') == std::string_view::npos &&
           key.find('=') == std::string_view::npos && !trim(key).empty();
}

std::string cutToBuffer(std::string_view text, std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    return std::string(text.substr(0, bufferSize - 1));
}

}  // namespace

int decimalToInt(std::string_view text) {
    text = trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

ProfileSnapshot::ProfileSnapshot(const std::string& path) : lines_(readLines(path).lines) {
    std::optional<std::string> open;  // the lower-case name of the section being read, if its first
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = sectionName(lines_[i]);
        if (!name) continue;
        if (open) sections_[*open].end = i;
        open.reset();
        std::string lower = toLowerAscii(*name);
        if (sections_.contains(lower)) continue;
        sections_.emplace(lower, Range{i, lines_.size()});
        sectionNames_.emplace_back(*name);
        open = std::move(lower);
    }
}

std::optional<std::string_view> ProfileSnapshot::value(std::string_view section, std::string_view key) const {
    const auto found = sections_.find(toLowerAscii(section));
    if (found == sections_.end()) return std::nullopt;
    const auto line = findKey(lines_, SectionRange{found->second.begin, found->second.end}, key);
    if (!line) return std::nullopt;
    return valueOf(lines_[*line]);
}

std::string ProfileSnapshot::getString(std::string_view section, std::string_view key, std::string_view fallback,
                                       std::size_t bufferSize) const {
    return cutToBuffer(value(section, key).value_or(fallback), bufferSize);
}

int ProfileSnapshot::getInt(std::string_view section, std::string_view key, int fallback) const {
    const auto text = value(section, key);
    return text ? decimalToInt(*text) : fallback;
}

bool ProfileSnapshot::hasSection(std::string_view section) const { return sections_.contains(toLowerAscii(section)); }

std::string Profile::getString(std::string_view section, std::string_view key, std::string_view fallback,
                               std::size_t bufferSize) const {
    return ProfileSnapshot(path_).getString(section, key, fallback, bufferSize);
}

int Profile::getInt(std::string_view section, std::string_view key, int fallback) const {
    return ProfileSnapshot(path_).getInt(section, key, fallback);
}

std::vector<std::string> Profile::sectionNames() const { return ProfileSnapshot(path_).sectionNames(); }

bool Profile::hasSection(std::string_view section) const { return ProfileSnapshot(path_).hasSection(section); }

namespace {

// Sets key=value in the lines, creating the section or the key as needed.
void setKey(IniLines& ini, std::string_view section, std::string_view key, std::string_view value) {
    const auto range = findSection(ini, section);
    if (!range) {
        std::string header(1, '[');
        ini.lines.push_back(header.append(section).append(1, ']'));
        ini.lines.push_back(std::string(key) + "=" + std::string(value));
        return;
    }
    if (const auto line = findKey(ini.lines, *range, key)) {
        const std::string spelled(*keyName(ini.lines[*line]));
        ini.lines[*line] = spelled + "=" + std::string(value);
        return;
    }
    // After the section's last non-blank line, so a blank line before the next
    // section stays where it is.
    std::size_t insertAt = range->end;
    while (insertAt > range->begin + 1 && trim(ini.lines[insertAt - 1]).empty()) --insertAt;
    ini.lines.insert(ini.lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                     std::string(key) + "=" + std::string(value));
}

// True when the section was there.
bool removeSection(IniLines& ini, std::string_view section) {
    const auto range = findSection(ini, section);
    if (!range) return false;
    ini.lines.erase(ini.lines.begin() + static_cast<std::ptrdiff_t>(range->begin),
                    ini.lines.begin() + static_cast<std::ptrdiff_t>(range->end));
    return true;
}

}  // namespace

bool Profile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    if (!fitsOnOneLine(section, key, value)) return false;
    auto ini = readForChange(path_);
    if (!ini) return false;
    setKey(*ini, section, key, value);
    return writeLines(path_, *ini);
}

bool Profile::deleteKey(std::string_view section, std::string_view key) {
    auto ini = readForChange(path_);
    if (!ini) return false;
    const auto range = findSection(*ini, section);
    const auto line = range ? findKey(ini->lines, *range, key) : std::nullopt;
    if (!line) return true;
    ini->lines.erase(ini->lines.begin() + static_cast<std::ptrdiff_t>(*line));
    return writeLines(path_, *ini);
}

bool Profile::deleteSection(std::string_view section) {
    auto ini = readForChange(path_);
    if (!ini) return false;
    if (!removeSection(*ini, section)) return true;
    return writeLines(path_, *ini);
}

bool Profile::apply(const std::vector<Change>& changes) {
    for (const Change& c : changes) {
        if (!c.key.empty() && !fitsOnOneLine(c.section, c.key, c.value)) return false;
    }
    auto ini = readForChange(path_);
    if (!ini) return false;
    for (const Change& c : changes) {
        if (c.key.empty()) {
            removeSection(*ini, c.section);
        } else {
            setKey(*ini, c.section, c.key, c.value);
        }
    }
    return writeLines(path_, *ini);
}

}  // namespace movrane
