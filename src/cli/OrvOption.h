#pragma once

#include <optional>
#include <string>

#include "cli/Commands.h"
#include "core/library/ExportRecords.h"
#include "core/library/Installation.h"
#include "core/library/ReplayLibrary.h"

namespace cli {

// "--orv DIR" (or "--orv=DIR") names the installation for one call, in place of the
// preferences' OrvDirectory. Takes the option out of `args`; false, with a message on
// stderr, when it has no directory.
bool takeOrvOption(Args& args, std::string& orvOverride);

// The installation a command works on: the override when given, else the preferences'.
// Nothing, with a message on stderr, when there is none or it is not a folder; a folder
// without orv.exe is accepted with a warning.
std::optional<movrane::Installation> chooseInstallation(const std::string& orvOverride);

// The replay library of an installation, with the preferences' alternative folder,
// exclusion messages and replay index.
movrane::LibraryFolders libraryFolders(const movrane::Installation& installation);

// The personal bests of the player at `index` in the chosen installation, collected as the
// records export collects them; nothing when there is no installation or the collection stopped.
std::optional<movrane::RecordsTable> collectPlayerBests(const std::string& orvOverride, int index,
                                                        const movrane::CollectOptions& options, movrane::Ui& ui);

// Prints what the settings store had to report (an unreadable file set aside).
void printStoreNotices();

}  // namespace cli
