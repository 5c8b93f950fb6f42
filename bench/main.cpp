// SPDX-License-Identifier: GPL-3.0-or-later
// The benchmark program: what a frame costs, how fast the real program starts and how much
// memory a game takes, under an Xvfb of its own so that the figures do not depend on the
// desktop it happens to run on. Prints a table and writes the same figures as JSON beside itself.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QJsonDocument>

#include "bench/bench.h"
#include "runtime/qt/display.h"

namespace bench {

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto i = static_cast<std::size_t>(p / 100 * double(values.size() - 1) + 0.5);
    return values[std::min(i, values.size() - 1)];
}

} // namespace bench

namespace {

// Starts Xvfb on a free display, as tests/e2e/x11.sh does: the server picks it and writes its
// number once it accepts clients (-displayfd), so there is nothing to guess or wait for. Gone
// with the benchmark even after a crash; returns its name (":1"), or nothing.
std::string startXvfb(pid_t& pid)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(fds[0]);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "2400x1000x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c = 0;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    return pid > 0 && !number.empty() ? ":" + number : std::string();
}

QString cpuModel()
{
    QFile info(QStringLiteral("/proc/cpuinfo"));
    if (info.open(QIODevice::ReadOnly))
        for (const QByteArray& line : info.readAll().split('\n'))
            if (line.startsWith("model name"))
                return QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
    return QStringLiteral("unknown");
}

} // namespace

int main(int argc, char* argv[])
{
    pid_t xvfb = -1;
    const std::string display = startXvfb(xvfb);
    if (display.empty()) {
        std::fprintf(stderr, "gromzaks_bench: could not start Xvfb\n");
        return 1;
    }
    setenv("DISPLAY", display.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    runtime::qt::chooseFrameTransfer(); // as the game does
    int status = 0;
    {
        QApplication app(argc, argv);
        runtime::qt::widenDisplayConnection();
        Q_INIT_RESOURCE(assets);
        std::setvbuf(stdout, nullptr, _IOLBF, 0);
        const QString dir = QCoreApplication::applicationDirPath();
        std::printf("Gromzaks benchmark on %s, %u cores, Qt %s, Xvfb %s\n\n", qPrintable(cpuModel()),
                    std::thread::hardware_concurrency(), qVersion(), display.c_str());

        QJsonObject results;
        bench::frameFigure(results);
        bench::startUpFigure(dir + QStringLiteral("/../gromzaks"), results);
        bench::memoryFigure(dir + QStringLiteral("/../gromzaks"), results);
        results.insert("machine", QJsonObject{{"cpu", cpuModel()},
                                              {"cores", int(std::thread::hardware_concurrency())},
                                              {"qt", qVersion()}});
        QFile out(dir + QStringLiteral("/results.json"));
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate)
            && out.write(QJsonDocument(results).toJson()) > 0)
            std::printf("\nThe same figures: %s\n", qPrintable(out.fileName()));
        else
            status = 1;
    }
    kill(xvfb, SIGTERM);
    waitpid(xvfb, nullptr, 0);
    return status;
}
