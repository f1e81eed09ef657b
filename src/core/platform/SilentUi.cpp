#include "core/platform/SilentUi.h"

namespace movrane {

void SilentUi::print(const std::string& caption, const std::string& text) {
    if (!out_) return;
    if (!caption.empty()) std::fprintf(out_, "%s: ", caption.c_str());
    std::fprintf(out_, "%s\n", text.c_str());
}

void SilentUi::message(const std::string& text, const std::string& caption, Icon, const std::string& detail) {
    print(caption, detail.empty() ? text : text + "\n" + detail);
}

bool SilentUi::askYesNo(const std::string& text, const std::string& caption) {
    print(caption, text + " [answered No]");
    return false;
}

Ui::Answer SilentUi::askYesNoCancel(const std::string& text, const std::string& caption) {
    print(caption, text + " [answered Cancel]");
    return Answer::Cancel;
}

}  // namespace movrane
