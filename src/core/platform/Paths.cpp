#include "core/platform/Paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace movrane {

namespace fs = std::filesystem;

bool isPathSeparator(char c) { return c == '/' || c == '\\'; }

namespace {

std::size_t lastSeparator(std::string_view path) { return path.find_last_of("/\\"); }

std::vector<std::string> splitComponents(std::string_view relative) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : relative) {
        if (isPathSeparator(c)) {
            if (!current.empty()) parts.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(std::move(current));
    return parts;
}

// Exists as spelled (a link counts even when it leads nowhere).
bool exists(const fs::path& p) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(p, ec));
}

// The entry of `directory` whose name equals `name` without regard to case; the first
// one in name order when several differ only in case, so the choice is repeatable.
std::string findIgnoringCase(const fs::path& directory, const std::string& name) {
    std::error_code ec;
    fs::directory_iterator it(directory, ec);
    if (ec) return {};
    std::string found;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        const std::string entry = it->path().filename().string();
        if (equalsIgnoreCase(entry, name) && (found.empty() || entry < found)) found = entry;
    }
    return found;
}

}  // namespace

std::string cutAtLastSeparator(std::string_view path) {
    const std::size_t pos = lastSeparator(path);
    return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos));
}

std::string afterLastSeparator(std::string_view path) {
    const std::size_t pos = lastSeparator(path);
    return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string joinPath(std::string_view directory, std::string_view name) {
    std::string result(directory);
    if (!result.empty() && !isPathSeparator(result.back())) result += '/';
    result += name;
    return result;
}

std::string resolveUnder(std::string_view base, std::string_view relative) {
    std::string result(base);
    bool resolving = true;
    for (const std::string& part : splitComponents(relative)) {
        std::string next = joinPath(result, part);
        if (resolving && !exists(next)) {
            const std::string match = findIgnoringCase(result.empty() ? "." : result, part);
            if (match.empty()) {
                resolving = false;
            } else {
                next = joinPath(result, match);
            }
        }
        result = std::move(next);
    }
    return result;
}

std::string toLowerAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return result;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::string withExtension(std::string_view chosen, std::string_view extension) {
    const bool has = chosen.size() >= extension.size() && chosen.substr(chosen.size() - extension.size()) == extension;
    std::string name(chosen);
    if (!has) name += extension;
    return name;
}

bool hasExtension(std::string_view name, std::string_view extension) {
    return name.size() > extension.size() && equalsIgnoreCase(name.substr(name.size() - extension.size()), extension);
}

}  // namespace movrane
