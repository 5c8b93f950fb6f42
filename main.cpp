// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "game/mmm.h"
#include "help/qt/helpwindow.h"
#include "runtime/qt/display.h"
#include "runtime/qt/gamewindow.h"
#include "runtime/qt/qtdialogs.h"
#include "runtime/random.h"

int main(int argc, char* argv[])
{
    runtime::qt::chooseFrameTransfer();
    QApplication app(argc, argv);
    runtime::qt::widenDisplayConnection();
    QApplication::setApplicationName(QStringLiteral("gromzaks"));
    QApplication::setApplicationVersion(QStringLiteral(GROMZAKS_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(GROMZAKS_DESKTOP_ID));
    Q_INIT_RESOURCE(assets);

    // The desktop's icon at every size it was drawn at, for the game window and the help window.
    QIcon icon;
    const QDir icons(QStringLiteral(":/assets/icons"));
    for (const QString& file : icons.entryList({QStringLiteral("*.png")}))
        icon.addFile(icons.filePath(file));
    QApplication::setWindowIcon(icon);

    // Qt's own words (in the boxes' context menus, say) in French too.
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrench);

    runtime::SeededRandom random;
    runtime::qt::QtDialogs dialogs;
    help::qt::HelpWindowHost* helpHost = nullptr; // made once the game window exists
    game::mmm form({dialogs, random,
                    [] {
                        QApplication::closeAllWindows();
                        QCoreApplication::quit();
                    },
                    [&helpHost] {
                        if (helpHost)
                            helpHost->show();
                    }});

    runtime::qt::GameWindow window(form, dialogs);
    helpHost = new help::qt::HelpWindowHost(&window); // the help window goes with the game window
    window.show();
    window.startClock();
    return QApplication::exec();
}
