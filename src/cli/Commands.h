#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace cli {

// Exit statuses shared by every command.
constexpr int EXIT_OK = 0;
constexpr int EXIT_USAGE = 1;
constexpr int EXIT_UNREADABLE = 2;  // an input file could not be read

using Args = std::vector<std::string>;

struct Command {
    const char* name;
    const char* summary;
    int (*run)(const Args& args);
    void (*usage)(std::FILE* out);
};

int runInfo(const Args& args);
void printInfoUsage(std::FILE* out);
int runSettings(const Args& args);
void printSettingsUsage(std::FILE* out);
int runPlayers(const Args& args);
void printPlayersUsage(std::FILE* out);
int runPb(const Args& args);
void printPbUsage(std::FILE* out);

}  // namespace cli
