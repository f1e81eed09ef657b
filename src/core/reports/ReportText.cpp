#include "core/reports/ReportText.h"

#include <cctype>
#include <cstdio>

#include "core/replay/Cars.h"
#include "core/replay/ReplayLayout.h"

namespace movrane {

std::string formatTime(uint32_t ms) {
    ms &= LAP_TIME_MASK;
    const uint32_t m = ms / 60000;
    const uint32_t s = ms / 1000 - 60 * m;
    const uint32_t f = ms - 1000 * (60 * m + s);
    char text[32];
    if (m > 0) {
        std::snprintf(text, sizeof text, "%um%02u.%03us", m, s, f);
    } else {
        std::snprintf(text, sizeof text, "%02u.%03us", s, f);
    }
    return text;
}

std::string rightAlign(const std::string& text, std::size_t width) {
    if (text.size() >= width) return text;
    return std::string(width - text.size(), ' ') + text;
}

std::string rightAlign(uint64_t value, std::size_t width) { return rightAlign(std::to_string(value), width); }

std::string rightAlignSigned(int64_t value, std::size_t width) { return rightAlign(std::to_string(value), width); }

std::string nameColumn(const std::string& name) {
    std::string column = name.substr(0, NAME_COLUMN_WIDTH);
    column.resize(NAME_COLUMN_WIDTH, ' ');
    return column;
}

std::string carMakeWord(uint32_t make) { return carMakeName(make); }

std::string carMakeColumn(uint32_t make) {
    std::string column = carMakeName(make);
    column.resize(9, ' ');
    return column;
}

std::string fourDigits(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.4g", value);
    std::string result = text;
    const auto point = result.find('.');
    if (point != std::string::npos && result.find('e') == std::string::npos &&
        result.size() > point + 1 + static_cast<std::size_t>(decimals)) {
        result.resize(point + 1 + static_cast<std::size_t>(decimals));
        if (decimals == 0) result.pop_back();
    }
    return result;
}

std::string formatReportDate(std::time_t when) {
    static const char* const DAYS[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const MONTHS[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm local{};
    if (!localtime_r(&when, &local)) return "";
    char text[64];
    std::snprintf(text, sizeof text, "%s %s %02d %02d:%02d:%02d %d", DAYS[local.tm_wday % 7],
                  MONTHS[local.tm_mon % 12], local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  local.tm_year + 1900);
    return text;
}

std::string titleLine(const std::string& trackName, const std::string& date) {
    std::string track = trackName;
    if (!track.empty()) track[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(track[0])));
    return "Track: " + track + std::string(13, ' ') + date;
}

namespace {
struct Reason {
    uint32_t code;
    const char* word;
    const char* shortWord;  // nullptr: the race report shows the word itself
};

constexpr Reason REASONS[] = {
    {0, "No Problems :)", nullptr},  {4, "Brakes", nullptr},          {8, "Coolant", nullptr},
    {12, "Radiator", nullptr},       {16, "Engine", nullptr},         {20, "Header", nullptr},
    {24, "Valve", nullptr},          {28, "Piston", nullptr},         {32, "Gearbox", nullptr},
    {36, "Clutch", nullptr},         {40, "Camshaft", nullptr},       {44, "Ignition", nullptr},
    {48, "Fire", nullptr},           {56, "Fuel Leak", nullptr},      {60, "Fuel Injection", "Fuel Injec"},
    {64, "Fuel Pump", nullptr},      {68, "Fuel Line", nullptr},      {72, "Oil Leak", nullptr},
    {76, "Oil Line", nullptr},       {80, "Oil Pump", nullptr},       {84, "Oil Pressure", "Oil Press"},
    {88, "Suspension", nullptr},     {92, "Puncture", nullptr},       {96, "Tire", nullptr},
    {100, "Wheel", nullptr},         {104, "Accident", nullptr},      {108, "Retired(could be DQ)", "Retired"},
    {116, "No Fuel", nullptr},
};

const Reason* findReason(uint32_t code) {
    for (const auto& r : REASONS) {
        if (r.code == code) return &r;
    }
    return nullptr;
}
}  // namespace

std::string reasonWord(uint32_t code) {
    const Reason* r = findReason(code);
    return r ? r->word : "";
}

std::string reasonText(uint32_t code) {
    const std::string prefix = "Official retirement reason is: ";
    const Reason* r = findReason(code);
    if (r) return prefix + r->word;
    return prefix + "Unknown! If you know the failure Orv reported\r\nfor this driver, please contact us." +
           "\r\nUnknown code is :" + std::to_string(code);
}

std::string reasonShort(uint32_t code) {
    const Reason* r = findReason(code);
    if (!r) return "Unknown";
    return r->shortWord ? r->shortWord : r->word;
}

std::string toFileText(const std::string& reportText) {
    std::string out;
    out.reserve(reportText.size());
    for (std::size_t i = 0; i < reportText.size(); ++i) {
        if (reportText[i] == '\r' && i + 1 < reportText.size() && reportText[i + 1] == '\n') continue;
        out += reportText[i];
    }
    return out;
}

}  // namespace movrane
