#include "cli/qt/TOffscreenApplication.h"

#include <cstdlib>
#include <filesystem>

namespace kavo {

namespace {

int& WithOffscreenPlatform(int& argumentCount) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return argumentCount;
}

}  // namespace

TOffscreenApplication::TRuntimeFolder::TRuntimeFolder() {
    const char* named = std::getenv("XDG_RUNTIME_DIR");
    if (named != nullptr && *named != '\0') {
        return;
    }
    std::error_code error;
    std::string pattern =
        (std::filesystem::temp_directory_path(error) / "kavo-cli-XXXXXX").string();
    // mkdtemp makes the folder readable by its owner only, as Qt requires of a runtime folder.
    if (mkdtemp(pattern.data()) != nullptr) {
        Made = pattern;
        setenv("XDG_RUNTIME_DIR", Made.c_str(), 1);
    }
}

TOffscreenApplication::TRuntimeFolder::~TRuntimeFolder() {
    if (!Made.empty()) {
        std::error_code error;
        std::filesystem::remove_all(Made, error);
    }
}

TOffscreenApplication::TOffscreenApplication()
    : Application(WithOffscreenPlatform(ArgumentCount), Arguments) {}

}  // namespace kavo
