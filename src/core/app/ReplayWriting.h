#pragma once

#include <functional>
#include <optional>
#include <string>

namespace movrane {

class CZodEvadiDoc;
class LoadedLapPicker;
class MergeParametersEditor;
class Ui;

enum class ReplayWriteResult { Written, Cancelled, Refused, SourceUnreadable, WriteFailed };

// Writes a replay file whole; false when it could not be written.
using ReplayFileWriter = std::function<bool(const std::string& path, const std::string& bytes)>;
// The program's safe writer.
bool writeReplayFile(const std::string& path, const std::string& bytes);

inline constexpr const char* SAME_FILE_MESSAGE = "Source and destination file cannot be the same file";
inline constexpr const char* SAVE_REPLAY_FAILED_MESSAGE = "Error while saving replay file!";
inline constexpr const char* ONE_LAP_MERGE_MESSAGE = "Only 1 lap loaded, will extract that to a new replay file.";
inline constexpr const char* KEEP_FILE_DATE_QUESTION = "Use original replay's filedate for extracted replay?";

// A chosen name with ".rpy" appended unless it ends in it (in any case).
std::string replayFileName(const std::string& chosen);

// Where a written replay goes: the file the person chooses in the save chooser, or a path
// named beforehand (the command line), used as it is; and the writer that writes it.
struct ReplayOutput {
    std::optional<std::string> path;
    ReplayFileWriter write = writeReplayFile;
};

// "&Save replay lap...": the chosen loaded lap as a replay of its own, holding the frames
// of the lap's window. A destination that is the lap's own replay is refused.
ReplayWriteResult saveReplayLap(const CZodEvadiDoc& doc, Ui& ui, LoadedLapPicker& picker,
                                const ReplayOutput& output = {});

// "Merge all laps to one replay file...": every loaded lap as a car of one new replay, at
// the offsets of the merge parameters (offset 0 for a single lap). A destination that is
// one of the loaded laps' replays is refused.
ReplayWriteResult mergeAllLaps(const CZodEvadiDoc& doc, Ui& ui, MergeParametersEditor& dialog,
                               const ReplayOutput& output = {});

}  // namespace movrane
