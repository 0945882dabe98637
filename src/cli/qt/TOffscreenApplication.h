#pragma once

#include <QGuiApplication>

namespace kavo {

// The GUI application that fonts and images need, on the offscreen platform unless the user chose
// another, so that kavo-cli draws without a screen.
class TOffscreenApplication {
  public:
    TOffscreenApplication();

  private:
    int ArgumentCount = 1;
    char Name[9] = "kavo-cli";
    char* Arguments[2] = {Name, nullptr};
    QGuiApplication Application;
};

}  // namespace kavo
