#include "cli/ArgParsing.h"

#include <charconv>

namespace cli {

bool takeFlag(Args& args, const std::string& flag) {
    for (auto it = args.begin(); it != args.end(); ++it) {
        if (*it != flag) continue;
        args.erase(it);
        return true;
    }
    return false;
}

bool takeValue(Args& args, const std::string& option, std::optional<std::string>& value) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != option) continue;
        if (i + 1 >= args.size()) return false;
        value = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        return true;
    }
    return true;
}

bool parseIndex(const std::string& text, int& index) {
    const char* end = text.data() + text.size();
    return std::from_chars(text.data(), end, index).ptr == end && !text.empty() && index >= 0;
}

bool hasOption(const Args& args) {
    for (const auto& a : args) {
        if (!a.empty() && a[0] == '-') return true;
    }
    return false;
}

}  // namespace cli
