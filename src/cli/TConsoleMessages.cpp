#include "cli/TConsoleMessages.h"

namespace kavo {

void TConsoleMessages::ShowError(const std::string& text) {
    Stream << "KAVO error: " << text << '\n';
}

void TConsoleMessages::ShowWarning(const std::string& text) {
    Stream << "KAVO warning: " << text << '\n';
}

void TConsoleMessages::ShowInformation(const std::string& text) {
    Stream << "KAVO information: " << text << '\n';
}

}  // namespace kavo
