#include <QApplication>
#include <QStringList>

#include "app/TKAVO.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The display name stays unset so that window frames do not append it to every caption.
    QApplication::setApplicationName(QStringLiteral("KAVO"));

    kavo::TKAVO mainWindow;
    mainWindow.showMaximized();
    // A case folder given on the command line is opened at once.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        mainWindow.OpenFolder(arguments.at(1));
    }
    return QApplication::exec();
}
