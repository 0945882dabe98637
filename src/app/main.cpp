#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QStringList>
#include <cstring>
#include <iostream>

#include "ProgramVersion.h"
#include "app/FolderLocation.h"
#include "app/TKAVO.h"

namespace {

constexpr const char* kUsage =
    "usage: kavo [CASE-FOLDER]\n"
    "       kavo --version\n"
    "\n"
    "Starts KAVO and opens the case in CASE-FOLDER (a folder holding \"KAVO case.htm\", or that\n"
    "document itself) when one is given.\n";

}  // namespace

int main(int argc, char** argv) {
    // Answered before the application starts, so that they work without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "kavo " << kavo::kProgramVersion << "\n";
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << kUsage;
        return 0;
    }
    QApplication application(argc, argv);
    // The display name stays unset so that window frames do not append it to every caption.
    QApplication::setApplicationName(QStringLiteral("KAVO"));
    QApplication::setApplicationVersion(QString::fromLatin1(kavo::kProgramVersion));
    QGuiApplication::setDesktopFileName(QStringLiteral("kavo"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("kavo"), QIcon(QStringLiteral(":/icons/kavo.svg"))));

    kavo::TKAVO mainWindow;
    mainWindow.showMaximized();
    mainWindow.OfferRecovery();
    // A case folder given on the command line is opened at once.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        mainWindow.OpenFolder(kavo::LocationToPath(arguments.at(1)));
    }
    return QApplication::exec();
}
