#include "cli/TConsole.h"

namespace kavo {

void TConsole::ShowError(const std::string& text) {
    Show("error", text);
}

void TConsole::ShowWarning(const std::string& text) {
    Show("warning", text);
}

void TConsole::ShowInformation(const std::string& text) {
    Show("information", text);
}

void TConsole::Show(const char* kind, const std::string& text) {
    Shown.emplace_back(kind, text);
    Out << "KAVO " << kind << ": " << text << "\n";
}

}  // namespace kavo
