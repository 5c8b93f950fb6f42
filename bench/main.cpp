// SPDX-License-Identifier: GPL-3.0-or-later
// The benchmark: how exactly the real driver keeps time, how often it wakes the machine, what a
// frame costs, how fast the program starts, how much memory a game takes and how fast the core
// plays on virtual time. Prints a table and writes the same figures as JSON beside itself.

#include <cstdio>
#include <cstdlib>
#include <thread>

#include <QApplication>
#include <QFile>
#include <QJsonDocument>

#include "bench/bench.h"
#include "runtime/qt/display.h"

int main(int argc, char* argv[])
{
    bench::XServer x;
    if (!x.start()) {
        std::fprintf(stderr, "gromzaks_bench: could not start Xvfb\n");
        return 1;
    }
    setenv("DISPLAY", x.display().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    runtime::qt::chooseFrameTransfer(); // as the game does
    QApplication app(argc, argv);
    runtime::qt::widenDisplayConnection();
    Q_INIT_RESOURCE(assets);
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/../gromzaks");
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    std::printf("Gromzaks benchmark on %s, %u cores, Qt %s, Xvfb %s\n\n", qPrintable(bench::cpuModel()),
                std::thread::hardware_concurrency(), qVersion(), x.display().c_str());
    QJsonObject results;
    const double screenHz = bench::timerFigures(results);
    // --loads: figures 1 and 2 alone, while working on what a game in progress costs.
    if (QCoreApplication::arguments().value(1) != QLatin1String("--loads")) {
        bench::frameFigure(results);
        bench::startUpFigure(program, results);
        bench::memoryFigure(program, results);
        bench::simulationFigure(results);
    }
    results.insert("machine", QJsonObject{{"cpu", bench::cpuModel()},
                                          {"cores", int(std::thread::hardware_concurrency())},
                                          {"qt", qVersion()},
                                          {"screen_hz", screenHz}});

    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/results.json");
    QFile out(path);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(QJsonDocument(results).toJson());
    std::printf("\nThe same figures: %s\n", qPrintable(path));
    return 0;
}
