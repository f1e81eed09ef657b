#include "core/platform/RegistryText.h"

#include <cstdint>
#include <cstdio>
#include <unordered_map>

#include "core/platform/Paths.h"

namespace movrane {

RegValue RegValue::dword(std::string name, uint32_t value) {
    RegValue v{std::move(name), REG_DWORD, std::string(4, '\0')};
    for (int i = 0; i < 4; ++i) v.data[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return v;
}

RegValue RegValue::string(std::string name, std::string_view text) {
    RegValue v{std::move(name), REG_SZ, std::string(text)};
    v.data += '\0';
    return v;
}

RegValue RegValue::binary(std::string name, std::string bytes) {
    return RegValue{std::move(name), REG_BINARY, std::move(bytes)};
}

const RegValue* RegKey::find(std::string_view name) const {
    for (const RegValue& v : values) {
        if (equalsIgnoreCase(v.name, name)) return &v;
    }
    return nullptr;
}

RegValue* RegKey::find(std::string_view name) {
    return const_cast<RegValue*>(static_cast<const RegKey*>(this)->find(name));
}

const RegKey* RegHive::find(std::string_view path) const {
    for (const RegKey& k : keys) {
        if (equalsIgnoreCase(k.path, path)) return &k;
    }
    return nullptr;
}

RegKey* RegHive::find(std::string_view path) {
    return const_cast<RegKey*>(static_cast<const RegHive*>(this)->find(path));
}

RegKey& RegHive::findOrAdd(std::string_view path) {
    if (RegKey* existing = find(path)) return *existing;
    keys.push_back(RegKey{std::string(path), {}});
    return keys.back();
}

namespace {

constexpr std::string_view REGEDIT_HEADER = "REGEDIT4";
constexpr std::size_t HEX_BYTES_PER_LINE = 24;

// Collects keys and values in file order and finds a key or value met before by its
// lower-case name at once, so that a file of thousands of keys parses in linear time.
class HiveBuilder {
public:
    // Makes the key of this path the current one, adding it when it is new.
    void openKey(std::string_view path) {
        const auto [found, added] = keyIndex_.try_emplace(toLowerAscii(path), hive_.keys.size());
        if (added) {
            hive_.keys.push_back(RegKey{std::string(path), {}});
            valueIndex_.emplace_back();
        }
        current_ = found->second;
    }
    bool hasKey() const { return current_ != NO_KEY; }
    // Adds a value to the current key, or replaces the one of the same name.
    void setValue(RegValue value) {
        std::vector<RegValue>& values = hive_.keys[current_].values;
        const auto [found, added] = valueIndex_[current_].try_emplace(toLowerAscii(value.name), values.size());
        if (added) values.push_back(std::move(value));
        else values[found->second] = std::move(value);
    }
    // Adds a value to the current key even when one of the same name is there.
    void appendValue(RegValue value) { hive_.keys[current_].values.push_back(std::move(value)); }
    RegHive take() { return std::move(hive_); }

private:
    static constexpr std::size_t NO_KEY = SIZE_MAX;
    RegHive hive_;
    std::unordered_map<std::string, std::size_t> keyIndex_;
    std::vector<std::unordered_map<std::string, std::size_t>> valueIndex_;
    std::size_t current_ = NO_KEY;
};

// ---- reading -------------------------------------------------------------------

// Splits into logical lines: "\r\n" and "\n" both end a line, and a line ending in
// '\' continues on the next one (long hex values are wrapped that way).
std::vector<std::string> logicalLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string current;
    bool continuing = false;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (continuing) {
            while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
        }
        current += line;
        continuing = !current.empty() && current.back() == '\\';
        if (continuing) {
            current.pop_back();
        } else {
            lines.push_back(std::move(current));
            current.clear();
        }
        if (end == text.size()) break;
        start = end + 1;
    }
    if (!current.empty()) lines.push_back(std::move(current));
    return lines;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a quoted string starting at text[pos] == '"'; pos ends after the closing quote.
std::optional<std::string> readQuoted(std::string_view text, std::size_t& pos) {
    if (pos >= text.size() || text[pos] != '"') return std::nullopt;
    std::string out;
    for (++pos; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++pos >= text.size()) return std::nullopt;
        switch (text[pos]) {
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case '0': out += '\0'; break;
            case 'x': {
                unsigned code = 0;
                int digits = 0;
                while (digits < 4 && pos + 1 < text.size() && hexDigit(text[pos + 1]) >= 0) {
                    code = code * 16 + static_cast<unsigned>(hexDigit(text[++pos]));
                    ++digits;
                }
                out += code <= 0xFF ? static_cast<char>(code) : '?';
                break;
            }
            default: out += text[pos]; break;
        }
    }
    return std::nullopt;
}

std::optional<std::string> parseHexBytes(std::string_view text) {
    std::string bytes;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
        if (pos == text.size()) break;
        if (pos + 1 >= text.size() || hexDigit(text[pos]) < 0 || hexDigit(text[pos + 1]) < 0) return std::nullopt;
        bytes += static_cast<char>(hexDigit(text[pos]) * 16 + hexDigit(text[pos + 1]));
        pos += 2;
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
        if (pos < text.size()) {
            if (text[pos] != ',') return std::nullopt;
            ++pos;
        }
    }
    return bytes;
}

std::optional<uint32_t> parseDword(std::string_view text) {
    if (text.empty() || text.size() > 8) return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        if (hexDigit(c) < 0) return std::nullopt;
        value = value * 16 + static_cast<uint32_t>(hexDigit(c));
    }
    return value;
}

// The right-hand side of a value line: "text", str(2):"text", dword:XXXXXXXX,
// hex:.. or hex(N):.. .
std::optional<RegValue> parseData(std::string_view rhs, std::string name) {
    std::size_t pos = 0;
    if (rhs.starts_with('"') || rhs.starts_with("str(2):\"")) {
        const bool expand = rhs.starts_with("str(2):");
        if (expand) pos = 7;
        auto text = readQuoted(rhs, pos);
        if (!text || pos != rhs.size()) return std::nullopt;
        RegValue v = RegValue::string(std::move(name), *text);
        if (expand) v.type = REG_EXPAND_SZ;
        return v;
    }
    if (rhs.starts_with("dword:")) {
        auto value = parseDword(rhs.substr(6));
        if (!value) return std::nullopt;
        return RegValue::dword(std::move(name), *value);
    }
    uint32_t type = REG_BINARY;
    if (rhs.starts_with("hex(")) {
        const std::size_t close = rhs.find("):");
        if (close == std::string_view::npos) return std::nullopt;
        auto t = parseDword(rhs.substr(4, close - 4));
        if (!t) return std::nullopt;
        type = *t;
        pos = close + 2;
    } else if (rhs.starts_with("hex:")) {
        pos = 4;
    } else {
        return std::nullopt;
    }
    auto bytes = parseHexBytes(rhs.substr(pos));
    if (!bytes) return std::nullopt;
    return RegValue{std::move(name), type, std::move(*bytes)};
}

std::optional<RegValue> parseValueLine(std::string_view line) {
    std::string name;
    std::size_t pos = 0;
    if (line.starts_with('@')) {
        pos = 1;
    } else {
        auto quoted = readQuoted(line, pos);
        if (!quoted) return std::nullopt;
        name = std::move(*quoted);
    }
    if (pos >= line.size() || line[pos] != '=') return std::nullopt;
    return parseData(line.substr(pos + 1), std::move(name));
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// "[Software\\X] 123456" -> "Software\X" (Wine doubles the backslashes).
std::string wineKeyPath(std::string_view line) {
    const std::size_t close = line.rfind(']');
    std::string path;
    const std::string_view inner = line.substr(1, close - 1);
    for (std::size_t i = 0; i < inner.size(); ++i) {
        if (inner[i] == '\\' && i + 1 < inner.size() && inner[i + 1] == '\\') ++i;
        path += inner[i];
    }
    return path;
}

// ---- writing -------------------------------------------------------------------

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '"': out += "\\\""; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\0': out += "\\0"; break;
            default: out += c; break;
        }
    }
    return out + "\"";
}

bool isPlainString(const RegValue& v) {
    return v.type == REG_SZ && !v.data.empty() && v.data.back() == '\0' &&
           v.data.find('\0') == v.data.size() - 1;
}

std::string hexData(const std::string& bytes) {
    std::string out;
    char buf[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(bytes[i]));
        out += buf;
        if (i + 1 == bytes.size()) break;
        out += (i + 1) % HEX_BYTES_PER_LINE == 0 ? ",\\\n  " : ",";
    }
    return out;
}

std::string formatValue(const RegValue& v) {
    std::string line = v.name.empty() ? "@=" : quoted(v.name) + "=";
    if (isPlainString(v)) return line + quoted(std::string_view(v.data).substr(0, v.data.size() - 1));
    if (v.type == REG_DWORD && v.data.size() == 4) {
        uint32_t value = 0;
        for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(v.data[i]);
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%08x", value);
        return line + buf;
    }
    if (v.type == REG_BINARY) {
        line += "hex:";
    } else {
        char buf[24];
        std::snprintf(buf, sizeof buf, "hex(%x):", v.type);
        line += buf;
    }
    return line + hexData(v.data);
}

}  // namespace

bool parseRegistryText(std::string_view text, RegHive& hive, std::string& error) {
    HiveBuilder result;
    bool headerSeen = false;
    int lineNumber = 0;
    for (const std::string& raw : logicalLines(text)) {
        ++lineNumber;
        const std::string_view line = trimmed(raw);
        if (line.empty() || line.starts_with(';')) continue;
        if (!headerSeen) {
            if (line != REGEDIT_HEADER) {
                error = "the first line is not \"REGEDIT4\"";
                return false;
            }
            headerSeen = true;
            continue;
        }
        if (line.starts_with('[')) {
            if (!line.ends_with(']') || line.size() < 3) {
                error = "line " + std::to_string(lineNumber) + ": malformed key";
                return false;
            }
            result.openKey(line.substr(1, line.size() - 2));
            continue;
        }
        auto value = parseValueLine(line);
        if (!value || !result.hasKey()) {
            error = "line " + std::to_string(lineNumber) +
                    (result.hasKey() ? ": malformed value" : ": value outside a key");
            return false;
        }
        result.setValue(std::move(*value));
    }
    if (!headerSeen) {
        error = "the file is empty";
        return false;
    }
    hive = result.take();
    return true;
}

std::string formatRegistryText(const RegHive& hive) {
    std::string out = std::string(REGEDIT_HEADER) + "\n";
    for (const RegKey& key : hive.keys) {
        out += "\n[" + key.path + "]\n";
        for (const RegValue& v : key.values) out += formatValue(v) + "\n";
    }
    return out;
}

RegHive parseWineRegistryText(std::string_view text) {
    HiveBuilder hive;
    for (const std::string& raw : logicalLines(text)) {
        const std::string_view line = trimmed(raw);
        if (line.starts_with('[') && line.find(']') != std::string_view::npos) {
            hive.openKey(wineKeyPath(line));
        } else if (hive.hasKey() && (line.starts_with('"') || line.starts_with('@'))) {
            if (auto value = parseValueLine(line)) hive.appendValue(std::move(*value));
        }
    }
    return hive.take();
}

}  // namespace movrane
