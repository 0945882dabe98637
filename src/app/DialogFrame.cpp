#include "app/DialogFrame.h"

#include <QWidget>

namespace kavo {

void UseDialogFrame(QWidget& dialog) {
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
}

}  // namespace kavo
