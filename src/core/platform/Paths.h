#pragma once

#include <string>
#include <string_view>

namespace movrane {

// Paths inside the simulator's installation are written with either separator: the
// installation and its files come from Windows, this program runs with '/'.
bool isPathSeparator(char c);

// The text before the last '/' or '\\'; empty when there is none.
std::string cutAtLastSeparator(std::string_view path);

// The text after the last '/' or '\\'; the whole text when there is none.
std::string afterLastSeparator(std::string_view path);

// directory + name, with one '/' between them unless the directory already ends with
// a separator. An empty directory gives the name alone.
std::string joinPath(std::string_view directory, std::string_view name);

// The installation was made on a file system that ignores case. Resolves `relative`
// (either separator) under `base`: every component that does not exist as spelled is
// looked up without regard to case, one component at a time. A component that is not
// found at all ends the lookup; the rest is appended as spelled, so the result names
// the path a message should mention. `base` itself is taken as it is.
std::string resolveUnder(std::string_view base, std::string_view relative);

// ASCII lower case, the way the simulator's names are compared.
std::string toLowerAscii(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);

// True when the name ends in the extension, compared without regard to case.
bool hasExtension(std::string_view name, std::string_view extension);

// A chosen file name with the extension appended when it does not end in it (compared
// exactly, as the save choosers do).
std::string withExtension(std::string_view chosen, std::string_view extension);

}  // namespace movrane
