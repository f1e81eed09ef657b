#include "core/track/GrooveExport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/replay/GetRpyInfo.h"

namespace movrane {

namespace {

constexpr int FIRST_NORMALISED = 15;  // the first sample of the new way's normalised range
constexpr double SPEED_STEP_TO_DARKNESS = 0.4347826086956522;

std::string fixed8(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.8f", value);
    return text;
}

std::vector<double> newWayDarkness(const GetRpyInfo& lap) {
    const int n = lap.sampleCount();
    std::vector<double> value(static_cast<std::size_t>(std::max(n, 0)) + 2, 0.0);
    for (int i = 2; i <= n - 3; ++i) value[i] = lap.sample(i).totalAcc;
    // Normalised by the largest value from sample 15 on; a lap too short for that range, or
    // one without any acceleration, is dark nowhere.
    double largest = 0;
    for (int i = FIRST_NORMALISED; i <= n - 3; ++i) largest = std::max(largest, value[i]);
    if (largest <= 0) return std::vector<double>(value.size(), 0.0);
    for (int i = FIRST_NORMALISED; i <= n - 3; ++i) value[i] /= largest;
    for (int i = 0; i < FIRST_NORMALISED; ++i) value[i] = value[FIRST_NORMALISED];
    return value;
}

std::vector<double> oldWayDarkness(const GetRpyInfo& lap, const GrooveSettings& settings) {
    const int n = lap.sampleCount();
    std::vector<double> value(static_cast<std::size_t>(std::max(n, 0)) + 2, 0.0);
    for (int i = 2; i <= n - 3; ++i) {
        const double speedStep = std::fabs(lap.sample(i + 1).speed - lap.sample(i).speed);
        const double a = std::clamp(speedStep * SPEED_STEP_TO_DARKNESS, 0.0, 1.0);
        const double r = std::clamp(std::abs(lap.sample(i).roll) * 0.02 * settings.rollFactor / 100.0, 0.0, 1.0);
        const double v = a * settings.accelerationFactor / 100.0;
        value[i] = (v < r || v > 1 || v < 0) ? r : v;
    }
    return value;
}

}  // namespace

std::vector<std::string> GrooveSettings::resolutionTexts() {
    std::vector<std::string> texts;
    for (int i = 1; i <= RESOLUTION_COUNT; ++i) {
        char text[8];
        std::snprintf(text, sizeof text, "%d.%d", i / 10, i % 10);
        texts.push_back(text);
    }
    return texts;
}

bool GrooveSettings::parseFactor(const std::string& text, int& factor) {
    if (text.empty() || text.size() > 3) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    factor = std::atoi(text.c_str());
    return true;
}

bool GrooveSettings::validWidth(const std::string& text) {
    if (text.empty() || text.size() > WIDTH_LENGTH) return false;
    const std::size_t point = text.find('.');
    const std::string whole = text.substr(0, point);
    const std::string fraction = point == std::string::npos ? "0" : text.substr(point + 1);
    const auto digitsOnly = [](const std::string& part) {
        return !part.empty() && part.find_first_not_of("0123456789") == std::string::npos;
    };
    return digitsOnly(whole) && digitsOnly(fraction);
}

std::vector<double> grooveDarkness(const GetRpyInfo& lap, const GrooveSettings& settings) {
    return settings.newWay ? newWayDarkness(lap) : oldWayDarkness(lap, settings);
}

std::string grooveText(const GetRpyInfo& lap, double lapLength, const GrooveSettings& settings) {
    const std::vector<double> darkness = grooveDarkness(lap, settings);
    const int n = lap.sampleCount();
    // The samples between the lines that carry data, in lap order: a missing record is a gap.
    std::vector<int> samples;
    for (int i = 2; i <= n - 2; ++i)
        if (lap.sample(i).hasData) samples.push_back(i);

    const double step = settings.resolution();
    std::string lines;
    long count = 0;
    std::size_t j = 0;  // the earlier of the two samples enclosing d; moves only forward
    for (long k = 0;; ++k) {
        const double d = k * step;
        if (!(d < lapLength)) break;
        double lateral = 0;
        double dark = 0;
        if (!samples.empty()) {
            while (j + 1 < samples.size() && lap.sample(samples[j + 1]).distance < d) ++j;
            const LapSample& a = lap.sample(samples[j]);
            dark = darkness[static_cast<std::size_t>(samples[j])];
            lateral = a.lateral;
            if (j + 1 < samples.size() && d >= a.distance) {
                const LapSample& b = lap.sample(samples[j + 1]);
                const double span = b.distance - a.distance;
                if (span > 0) lateral = a.lateral + (b.lateral - a.lateral) * (d - a.distance) / span;
            }
        }
        lines += "0 " + fixed8(lateral) + " " + fixed8(dark) + " " + fixed8(d) + " " + settings.widthText + "\n";
        ++count;
    }
    return "60sections," + std::to_string(count) + "entries\n" + lines;
}

std::string grooveFileName(const std::string& chosen) { return withExtension(chosen, ".grv"); }

bool writeGrooveFile(const std::string& path, const std::string& text) { return writeFileAtomically(path, text); }

}  // namespace movrane
