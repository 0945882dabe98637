#include <QApplication>

#include "app/TKAVO.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The display name stays unset so that window frames do not append it to every caption.
    QApplication::setApplicationName(QStringLiteral("KAVO"));

    // A case folder given on the command line is accepted; opening it comes with the case file.
    kavo::TKAVO mainWindow;
    mainWindow.showMaximized();
    return QApplication::exec();
}
