#include "cli/qt/TOffscreenApplication.h"

#include <cstdlib>

namespace kavo {

namespace {

int& WithOffscreenPlatform(int& argumentCount) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return argumentCount;
}

}  // namespace

TOffscreenApplication::TOffscreenApplication()
    : Application(WithOffscreenPlatform(ArgumentCount), Arguments) {}

}  // namespace kavo
