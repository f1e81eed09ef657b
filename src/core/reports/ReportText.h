#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace movrane {

// Line end of every report text; files get "\n" (see ReportFiles.h).
constexpr const char* CRLF = "\r\n";
constexpr const char* REPORT_FOOTER = "Generated with Movrane\r\n";
constexpr std::size_t NAME_COLUMN_WIDTH = 32;

// 83456 -> "1m23.456s", 5004 -> "05.004s". Only the low 24 bits of the value count.
std::string formatTime(uint32_t ms);

// Right-aligns text in a column of the given width. A text wider than the column is kept
// whole (the column grows for that line) rather than losing its leading characters.
std::string rightAlign(const std::string& text, std::size_t width);
std::string rightAlign(uint64_t value, std::size_t width);
std::string rightAlignSigned(int64_t value, std::size_t width);

// A name padded with blanks to the name column and cut at it.
std::string nameColumn(const std::string& name);

// Car make as a 9-character column ("Brabham  "), and as a word for sentences.
std::string carMakeColumn(uint32_t make);
std::string carMakeWord(uint32_t make);

// A value with four significant digits, then cut (not rounded) to at most `decimals`
// digits after the point: 92.857 -> "92.85" for two decimals, 100 -> "100.0".
std::string fourDigits(double value, int decimals);

// "Sat Dec 07 14:03:22 2002" in local time.
std::string formatReportDate(std::time_t when);

// First line of every basic report: "Track: Monza" + 13 blanks + the date, without line end.
std::string titleLine(const std::string& trackName, const std::string& date);

// Retirement reasons by code. reasonWord is empty for a code without a word.
std::string reasonWord(uint32_t code);
// "Official retirement reason is: " and the word; a code without a word gets the request
// to report it, with the code.
std::string reasonText(uint32_t code);
// The word as the race report's Problem column shows it: short forms, "Unknown".
std::string reasonShort(uint32_t code);

// Replaces every "\r\n" by "\n".
std::string toFileText(const std::string& reportText);

}  // namespace movrane
