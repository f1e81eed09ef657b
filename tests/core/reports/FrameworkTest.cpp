// Report framework: time format, columns, reasons, title line, kinds and the append sink.
#include <gtest/gtest.h>

#include <vector>

#include "ReportCases.h"
#include "core/reports/ReportText.h"

namespace {

using namespace movrane;

TEST(ReportText, FormatTimeWritesMinutesOnlyWhenThereAreAny) {
    // Flag bits are not time.
    const std::pair<uint32_t, const char*> times[] = {
        {83456, "1m23.456s"}, {5004, "05.004s"}, {0, "00.000s"}, {59999, "59.999s"}, {60000, "1m00.000s"},
        {(1u << 28) | (1u << 30) | 5004, "05.004s"}, {0xFFFFFF, "279m37.215s"}};
    for (const auto& [word, text] : times) EXPECT_EQ(formatTime(word), text) << word;
    // Columns align right and grow for wide values.
    EXPECT_EQ(rightAlign(7, 2), " 7");
    EXPECT_EQ(rightAlign(120, 2), "120");
    EXPECT_EQ(rightAlign("100 lap(s)", 9), "100 lap(s)");
    EXPECT_EQ(rightAlignSigned(-3, 3), " -3");
    EXPECT_EQ(nameColumn("Ann Alpha"), "Ann Alpha" + std::string(23, ' '));
    EXPECT_EQ(nameColumn(std::string(40, 'x')), std::string(32, 'x'));
    EXPECT_EQ(carMakeColumn(9), "Unknown  ") << "a make outside the table must not read past it";
    // Four significant digits, then cut to the decimals.
    EXPECT_EQ(fourDigits(100.0, 2), "100");
    EXPECT_EQ(fourDigits(200.0 / 3.0, 2), "66.67");
    EXPECT_EQ(fourDigits(0.4567, 3), "0.456");
    EXPECT_EQ(fourDigits(12.345, 3), "12.35") << "four significant digits round first";
    EXPECT_EQ(fourDigits(0.0, 3), "0");
    // Reasons in their long and short forms.
    EXPECT_EQ(reasonText(60), "Official retirement reason is: Fuel Injection");
    const std::pair<int, const char*> shortForms[] = {{60, "Fuel Injec"}, {84, "Oil Press"}, {108, "Retired"},
                                                      {16, "Engine"},     {52, "Unknown"},   {112, "Unknown"}};
    for (const auto& [code, text] : shortForms) EXPECT_EQ(reasonShort(code), text) << code;
    EXPECT_EQ(reasonText(52),
              "Official retirement reason is: Unknown! If you know the failure Orv reported\r\n"
              "for this driver, please contact us.\r\nUnknown code is :52");
    // The title line and the date.
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(formatReportDate(1039269802), "Sat Dec 07 14:03:22 2002");
    EXPECT_EQ(formatReportDate(1041379205), "Wed Jan 01 00:00:05 2003");
    EXPECT_EQ(titleLine("monza", "D"), "Track: Monza             D");
    EXPECT_EQ(titleLine("", "D"), "Track:              D");
    // File texts have newline line ends.
    EXPECT_EQ(toFileText("a\r\nb\r\n\r\nc"), "a\nb\n\nc");
    EXPECT_EQ(toFileText("a\rb\n\r"), "a\rb\n\r");
    // The kinds by their command-line names.
    EXPECT_EQ(Report::kindFromName("lapbylap"), ReportKind::LapByLap);
    EXPECT_EQ(Report::kindFromName("mechanical"), ReportKind::Mechanical);
    EXPECT_FALSE(Report::kindFromName("Race").has_value());
}

TEST(ReportSink, TheDeferredReportGrowsPieceByPiece) {
    const reportcases::LoadedReplay replay(reportcases::standardRace());
    Report report = replay.report();
    std::vector<std::string> shown;
    report.setSink([&](const std::string& text) { shown.push_back(text); });
    const std::string& text = report.generate(ReportKind::Mechanical);
    ASSERT_GT(shown.size(), 10u);
    EXPECT_EQ(shown.back(), text);
    for (std::size_t i = 1; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].compare(0, shown[i - 1].size(), shown[i - 1]), 0) << "each view extends the last";
    }
    EXPECT_EQ(report.titleText(), "Mechanical report");
}

}  // namespace
