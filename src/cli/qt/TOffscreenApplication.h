#pragma once

#include <string>

#include <QGuiApplication>

namespace kavo {

// The GUI application that fonts and images need, on the offscreen platform unless the user chose
// another, so that kavo-cli draws without a screen.
class TOffscreenApplication {
  public:
    TOffscreenApplication();

  private:
    // When the environment names no runtime folder, Qt warns and falls back to a shared one; the
    // application gets a private folder instead, removed when it ends.
    struct TRuntimeFolder {
        TRuntimeFolder();
        ~TRuntimeFolder();
        TRuntimeFolder(const TRuntimeFolder&) = delete;
        TRuntimeFolder& operator=(const TRuntimeFolder&) = delete;

        // Empty when the environment named one.
        std::string Made;
    };

    TRuntimeFolder Runtime;
    int ArgumentCount = 1;
    char Name[9] = "kavo-cli";
    char* Arguments[2] = {Name, nullptr};
    QGuiApplication Application;
};

}  // namespace kavo
