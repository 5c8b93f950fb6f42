// SPDX-License-Identifier: GPL-3.0-or-later
// The benchmark: how exactly the real driver keeps time, how often it wakes the machine, what a
// frame costs, how fast the program starts, how much memory a game takes and how fast the core
// plays on virtual time. Prints a table and writes the same figures as JSON beside itself.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include "bench/yes_dialogs.h"
#include "game/mmm.h"
#include "runtime/qt/display.h"
#include "runtime/qt/gamewindow.h"
#include "runtime/qt/playfield.h"
#include "runtime/qt/qtdialogs.h"
#include "runtime/random.h"
#include "tests/player.h"

using game::mmm;

namespace {

// ---- Measuring tools ------------------------------------------------------------------------

struct Usage {
    double cpuSeconds = 0;
    long wakeUps = 0;     // voluntary context switches, every thread of the process
    long mainWakeUps = 0; // those of the thread that runs the game (the caller)
};

Usage usageNow()
{
    rusage all{}, main{};
    getrusage(RUSAGE_SELF, &all);
    getrusage(RUSAGE_THREAD, &main);
    const auto seconds = [](timeval t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return {seconds(all.ru_utime) + seconds(all.ru_stime), all.ru_nvcsw, main.ru_nvcsw};
}

struct Load {
    double wakeUpsPerSecond = 0;
    double mainWakeUpsPerSecond = 0;
    double cpuPercent = 0; // of one core
};

Load loadBetween(Usage a, Usage b, double wallSeconds)
{
    return {double(b.wakeUps - a.wakeUps) / wallSeconds, double(b.mainWakeUps - a.mainWakeUps) / wallSeconds,
            100 * (b.cpuSeconds - a.cpuSeconds) / wallSeconds};
}

// The same for another process, from /proc: every thread's voluntary switches, its CPU time.
Usage usageOf(qint64 pid)
{
    Usage usage;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 12) // utime and stime, fields 14 and 15 of the whole line
            usage.cpuSeconds = double(fields[11].toLong() + fields[12].toLong()) / double(sysconf(_SC_CLK_TCK));
    }
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(tasks.filePath(task) + QStringLiteral("/status"));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& l : status.readAll().split('\n'))
            if (l.startsWith("voluntary_ctxt_switches:")) {
                const long n = l.mid(24).trimmed().toLong();
                usage.wakeUps += n;
                if (task == QString::number(pid))
                    usage.mainWakeUps = n;
            }
    }
    return usage;
}

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto i = static_cast<std::size_t>(p / 100 * double(values.size() - 1) + 0.5);
    return values[std::min(i, values.size() - 1)];
}

void runEventsFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

bool runEventsUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < timeoutMs)
        runEventsFor(20);
    return done();
}

// ---- A private X server ---------------------------------------------------------------------

// An Xvfb of our own, on the first free display it finds, so the figures do not depend on the
// desktop the benchmark happens to run on.
class XServer {
public:
    bool start()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return false;
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM); // gone with the benchmark, even after a crash
            close(fds[0]);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x600x24", "-nolisten",
                   "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        char c = 0;
        while (read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (pid_ <= 0 || number.empty())
            return false;
        display_ = ":" + number;
        return true;
    }
    ~XServer()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

// ---- 1 and 2: tick fidelity, wake-ups and CPU -----------------------------------------------

struct TimerTicks {
    QString name;
    int interval = 0;
    long ticks = 0;
    double ideal = 0;
    bool steady = true; // on, at one interval, the whole time
};

struct Run {
    std::vector<TimerTicks> timers;
    double wallMs = 0;
    double gameMs = 0;
    double lagMedianMs = 0;
    double lagMaxMs = 0;
    Load load;
};

// The game's timers in creation order, with the procedure each one runs.
struct Watched {
    const char* name;
    runtime::Timer mmm::*timer;
    void (mmm::*tick)();
};
const Watched watched[] = {
    {"Timer2", &mmm::Timer2, &mmm::Timer2_Timer},
    {"Timer3", &mmm::Timer3, &mmm::Timer3_Timer},
    {"soucoupe", &mmm::soucoupe, &mmm::soucoupe_Timer},
    {"dem", &mmm::dem, &mmm::dem_Timer},
    {"anim", &mmm::anim, &mmm::anim_Timer},
    {"pg", &mmm::pg, &mmm::pg_Timer},
    {"PERDUGAGNE", &mmm::PERDUGAGNE, &mmm::PERDUGAGNE_Timer},
    {"Timer1", &mmm::Timer1, &mmm::Timer1_Timer},
    {"tiretimer", &mmm::tiretimer, &mmm::tiretimer_Timer},
    {"vaisseautimer", &mmm::vaisseautimer, &mmm::vaisseautimer_Timer},
};

// Ten plain QTimers at the game's design intervals, each counting its timeouts.
Run rawQtTimers(int ms)
{
    bench::YesDialogs yes;
    runtime::SeededRandom random;
    const mmm design({yes, random, [] {}, [] {}});
    Run run;
    for (const Watched& w : watched)
        run.timers.push_back({w.name, (design.*w.timer).interval()});
    std::vector<std::unique_ptr<QTimer>> timers;
    for (TimerTicks& t : run.timers) {
        timers.push_back(std::make_unique<QTimer>());
        QObject::connect(timers.back().get(), &QTimer::timeout, [&t] { ++t.ticks; });
    }
    QElapsedTimer wall;
    const Usage before = usageNow();
    wall.start();
    for (std::size_t i = 0; i < timers.size(); ++i)
        timers[i]->start(run.timers[i].interval);
    runEventsFor(ms);
    for (auto& timer : timers)
        timer->stop();
    run.wallMs = double(wall.nsecsElapsed()) / 1e6;
    run.load = loadBetween(before, usageNow(), run.wallMs / 1000);
    for (TimerTicks& t : run.timers)
        t.ideal = run.wallMs / t.interval;
    return run;
}

struct GameRuns {
    Load idle;
    Run playing;
    double refreshRate = 0;
};

// The real window and driver on the real X server, through `idleMs` before a game and `playMs`
// of a game in progress, the playfield enlarged `scale` times.
GameRuns realDriver(int idleMs, int playMs, int scale = 1)
{
    GameRuns out;
    bench::YesDialogs yes;
    runtime::SeededRandom random;
    runtime::qt::QtDialogs unused; // the window's boxes; the game asks through `yes`
    mmm form({yes, random, [] {}, [] {}});
    form.Form_Load();

    // Count every tick, and when the 1 ms timer ticks, how far game time trails wall time.
    struct Probe {
        bool on = false;
        std::vector<long> ticks = std::vector<long>(std::size(watched));
        std::vector<double> lags;
        QElapsedTimer wall;
        std::int64_t game0 = 0;
    } probe;
    for (std::size_t i = 0; i < std::size(watched); ++i) {
        (form.*watched[i].timer).onTick([&form, &probe, i, tick = watched[i].tick] {
            if (probe.on) {
                ++probe.ticks[i];
                if (i == 0)
                    probe.lags.push_back(double(probe.wall.nsecsElapsed()) / 1e6 - double(form.clock.now() - probe.game0));
            }
            (form.*tick)();
        });
    }

    runtime::qt::GameWindow window(form, unused);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        out.refreshRate = screen->refreshRate();
    window.show();
    if (scale > 1)
        window.resize(window.size() + window.playfield()->size() * (scale - 1));
    window.startClock();
    runEventsFor(1000);
    Usage before = usageNow();
    runEventsFor(idleMs);
    out.idle = loadBetween(before, usageNow(), idleMs / 1000.0);

    // A game whose formation has come in, the ship out of every bullet's reach so that the
    // game is still on when the count ends.
    form.vaisseau.Top = 1e6f;
    window.call([&form] { form.choose(form.demarrer); });
    runEventsUntil([&form] { return form.PERDUGAGNE.enabled(); }, 20'000);
    runEventsFor(500);

    std::vector<std::pair<bool, int>> states;
    for (const Watched& w : watched)
        states.emplace_back((form.*w.timer).enabled(), (form.*w.timer).interval());
    window.call({}); // game time up to now
    probe.game0 = form.clock.now();
    probe.wall.start();
    before = usageNow();
    probe.on = true;
    runEventsFor(playMs);
    window.call({});
    probe.on = false;
    Run& run = out.playing;
    run.wallMs = double(probe.wall.nsecsElapsed()) / 1e6;
    run.gameMs = double(form.clock.now() - probe.game0);
    run.load = loadBetween(before, usageNow(), run.wallMs / 1000);
    window.stopClock();

    for (std::size_t i = 0; i < std::size(watched); ++i) {
        const runtime::Timer& t = form.*watched[i].timer;
        const bool steady = states[i].first && t.enabled() && states[i].second == t.interval();
        run.timers.push_back({watched[i].name, t.interval(), probe.ticks[i],
                              steady ? run.wallMs / t.interval() : 0, steady});
    }
    run.lagMedianMs = percentile(probe.lags, 50);
    run.lagMaxMs = percentile(probe.lags, 100);
    return out;
}

// ---- 3: frame cost --------------------------------------------------------------------------

struct FrameCost {
    int width = 0;
    int height = 0;
    double medianMs = 0;
    double p99Ms = 0;
};

// Everything the playfield can show at once: the whole formation, five bullets, two shots,
// the saucer and the three banners.
void fullPlayfield(runtime::Scene& scene)
{
    bench::YesDialogs yes;
    runtime::SeededRandom random;
    mmm w({yes, random, [] {}, [] {}});
    w.Form_Load();
    w.choose(w.demarrer);
    for (int ms = 0; ms < 5000 && w.Text1.Text != "1"; ++ms)
        w.clock.advanceBy(1);
    for (std::int16_t c = 1; c <= w.nbcol; ++c)
        w.mechv(c).Visible = w.mechb(c).Visible = w.mechr(c).Visible = true;
    for (std::int16_t v = 0; v <= 4; ++v) {
        w.tire(v).Visible = true;
        w.tire(v).Left = 800 + 1500 * v;
        w.tire(v).Top = 2500 + 400 * v;
    }
    if (!w.tir.exists(2))
        w.tir.create(2);
    for (std::int16_t s = 1; s <= 2; ++s) {
        w.tir(s).Visible = true;
        w.tir(s).Left = 2000 + 3000 * s;
        w.tir(s).Top = 4000;
    }
    w.souc.Visible = true;
    w.souc.Left = 4000;
    w.bon.Visible = w.perd.Visible = w.gagne.Visible = true;
    w.scene(scene);
}

FrameCost frameCost(const runtime::Scene& scene, int scale, int frames)
{
    const QSizeF client(game::fieldWidth, game::fieldHeight);
    FrameCost cost{int(game::fieldWidth / 15) * scale, int(game::fieldHeight / 15) * scale};
    QImage image(cost.width, cost.height, QImage::Format_RGB32);
    runtime::qt::PictureBook pictures;
    std::vector<double> times;
    for (int i = -20; i < frames; ++i) { // the first frames load the pictures
        QElapsedTimer t;
        t.start();
        QPainter painter(&image);
        runtime::qt::paintScene(painter, scene, client, QRectF(0, 0, cost.width, cost.height), pictures);
        painter.end();
        if (i >= 0)
            times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    cost.medianMs = percentile(times, 50);
    cost.p99Ms = percentile(times, 99);
    return cost;
}

// ---- 4 and 5: the real program --------------------------------------------------------------

// The game's green and its black playfield on the screen: the window is up and painted.
bool gamePainted()
{
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    bool green = false, black = false;
    for (int y = 0; y < shot.height() && !(green && black); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
        for (int x = 0; x < shot.width(); ++x) {
            green = green || (line[x] & 0xFFFFFF) == 0x00FF00;
            black = black || (line[x] & 0xFFFFFF) == 0;
        }
    }
    return green && black;
}

bool waitFor(const std::function<bool()>& done, int timeoutMs, int pollMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > timeoutMs)
            return false;
        QThread::msleep(pollMs);
    }
    return true;
}

void launch(QProcess& process, const QString& program)
{
    process.setProgram(program);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start();
    process.waitForStarted();
}

void end(QProcess& process)
{
    process.kill();
    process.waitForFinished();
}

// Launch to first painted frame, in milliseconds; negative when it never showed.
double startUp(const QString& program)
{
    QProcess process;
    QElapsedTimer t;
    t.start();
    launch(process, program);
    const bool shown = waitFor(gamePainted, 10'000, 1);
    const double ms = double(t.nsecsElapsed()) / 1e6;
    end(process);
    waitFor([] { return !gamePainted(); }, 5000, 10);
    return shown ? ms : -1;
}

bool xdotool(const QStringList& arguments)
{
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(QStringLiteral("xdotool"), arguments);
    return p.waitForFinished() && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool boxShown(const char* title)
{
    return xdotool({"search", "--onlyvisible", "--name", QStringLiteral("^%1$").arg(title)});
}

long peakKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

struct Memory {
    long peakKiB = -1;
    bool gameOver = false; // the "Score" box came up
    double gameSeconds = 0;
    Load load; // of the real program while its game ran
};

// A whole game in the real program: "Général", "Démarrer", Yes; then the ship stands still
// until a bullet ends the game.
Memory memoryThroughAGame(const QString& program)
{
    Memory memory;
    QProcess process;
    launch(process, program);
    if (waitFor(gamePainted, 10'000, 10)) {
        // No window manager: the window sits at the top left, "Général" first in its menu bar.
        xdotool({"mousemove", "30", "8", "click", "1"});
        QThread::msleep(300);
        xdotool({"key", "Down", "Return"});
        if (waitFor([] { return boxShown("Confirmation"); }, 5000, 50)) {
            xdotool({"key", "Return"});
            QElapsedTimer played;
            played.start();
            const Usage before = usageOf(process.processId());
            memory.gameOver = waitFor([] { return boxShown("Score"); }, 180'000, 250);
            memory.gameSeconds = double(played.elapsed()) / 1000;
            // Up to the poll that saw the box: a fraction of a second of it is in the count.
            memory.load = loadBetween(before, usageOf(process.processId()), memory.gameSeconds);
        }
    }
    memory.peakKiB = peakKiB(process.processId());
    end(process);
    return memory;
}

// ---- 6: simulation speed --------------------------------------------------------------------

struct Simulation {
    int games = 0;
    int won = 0;
    double gameSeconds = 0;
    double cpuSeconds = 0;
};

// Whole games won by the scripted player, on virtual time, as the tests play them.
Simulation simulate(int games)
{
    Simulation sim{games};
    bench::YesDialogs yes;
    runtime::SeededRandom random;
    mmm w({yes, random, [] {}, [] {}});
    w.Form_Load();
    const double cpu0 = threadCpuSeconds();
    // Fast shots and a slow descent, set between games; the first game only builds the
    // formation, so that the bullets of the next ones fall as a volley the player can dodge.
    w.choose(w.demarrer);
    for (int ms = 0; ms < 5000 && w.Text1.Text != "1"; ++ms)
        w.clock.advanceBy(1);
    w.choose(w.stopi);
    yes.typed = {"35", "600"};
    w.choose(w.vite);
    w.choose(w.vittir);
    for (int g = 0; g < games; ++g) {
        w.choose(w.demarrer);
        scripted::Player(w).play(10 * 60 * 1000);
        sim.won += w.gagne.Visible ? 1 : 0;
    }
    sim.cpuSeconds = threadCpuSeconds() - cpu0;
    sim.gameSeconds = double(w.clock.now()) / 1000;
    return sim;
}

// ---- Report ---------------------------------------------------------------------------------

QString cpuModel()
{
    QFile info(QStringLiteral("/proc/cpuinfo"));
    if (info.open(QIODevice::ReadOnly))
        for (const QByteArray& line : info.readAll().split('\n'))
            if (line.startsWith("model name"))
                return QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
    return QStringLiteral("unknown");
}

QJsonObject json(const Load& load)
{
    return {{"wakeups_per_s", load.wakeUpsPerSecond}, {"main_thread_wakeups_per_s", load.mainWakeUpsPerSecond},
            {"cpu_percent", load.cpuPercent}};
}

QJsonObject json(const Run& run)
{
    QJsonArray timers;
    for (const TimerTicks& t : run.timers)
        timers.append(QJsonObject{{"timer", t.name}, {"interval_ms", t.interval}, {"ticks", double(t.ticks)},
                                  {"ideal", t.steady ? QJsonValue(t.ideal) : QJsonValue()}});
    return {{"wall_ms", run.wallMs}, {"timers", timers}, {"load", json(run.load)}};
}

void printTicks(const char* title, const Run& run)
{
    std::printf("%s (%.0f ms of wall time)\n", title, run.wallMs);
    for (const TimerTicks& t : run.timers) {
        if (t.steady)
            std::printf("  %-14s %5d ms  %6ld ticks of %8.1f  %6.1f %%\n", qPrintable(t.name), t.interval, t.ticks,
                        t.ideal, 100 * double(t.ticks) / std::max(1.0, std::floor(t.ideal)));
        else
            std::printf("  %-14s %5d ms  %6ld ticks (switched or re-timed during the run)\n", qPrintable(t.name),
                        t.interval, t.ticks);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    XServer x;
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

    std::printf("Gromzaks benchmark on %s, %u cores, Qt %s, Xvfb %s\n\n", qPrintable(cpuModel()),
                std::thread::hardware_concurrency(), qVersion(), x.display().c_str());

    const Run raw = rawQtTimers(10'000);
    const GameRuns game = realDriver(5000, 10'000);
    const GameRuns enlarged = realDriver(1000, 10'000, 2);
    std::printf("1. Tick fidelity, a game in progress under a real X server (screen %.0f Hz)\n", game.refreshRate);
    printTicks("Ten raw Qt timers", raw);
    printTicks("The real driver", game.playing);
    std::printf("  game time %.0f ms for %.0f ms of wall time; game time behind wall time at each 1 ms tick:"
                " median %.1f ms, max %.1f ms\n\n",
                game.playing.gameMs, game.playing.wallMs, game.playing.lagMedianMs, game.playing.lagMaxMs);

    std::printf("2. Wake-ups (voluntary context switches: all threads, main thread) and CPU (share of one core)\n");
    const auto printLoad = [](const char* what, const Load& load) {
        std::printf("  %-34s %6.0f /s  %6.0f /s  %6.2f %%\n", what, load.wakeUpsPerSecond, load.mainWakeUpsPerSecond,
                    load.cpuPercent);
    };
    printLoad("ten raw Qt timers", raw.load);
    printLoad("idle, before a game", game.idle);
    printLoad("a game in progress", game.playing.load);
    printLoad("a game in progress, at scale 2", enlarged.playing.load);
    std::printf("\n");
    runtime::Scene scene;
    fullPlayfield(scene);
    const FrameCost frames[] = {frameCost(scene, 1, 1000), frameCost(scene, 2, 1000)};
    std::printf("3. Frame cost, the full playfield (%zu pictures, %zu banners), 1000 frames (anchor 16.7 ms)\n",
                scene.pictures.size(), scene.labels.size());
    for (int s = 0; s < 2; ++s)
        std::printf("  scale %d, %4dx%-4d  median %.3f ms  p99 %.3f ms\n", s + 1, frames[s].width, frames[s].height,
                    frames[s].medianMs, frames[s].p99Ms);

    std::vector<double> starts;
    for (int i = 0; i < 5; ++i)
        starts.push_back(startUp(program));
    const bool allShown = std::none_of(starts.begin(), starts.end(), [](double ms) { return ms < 0; });
    std::printf("\n4. Start-up to the first painted frame, median of 5: %.0f ms%s\n", percentile(starts, 50),
                allShown ? "" : " (some runs never showed)");

    const Memory memory = memoryThroughAGame(program);
    std::printf("5. Peak resident memory through a whole game: %ld KiB (%s after %.1f s)\n", memory.peakKiB,
                memory.gameOver ? "game over" : "GAME NOT FINISHED", memory.gameSeconds);
    std::printf("   the real program during that game: %.0f wake-ups/s (main thread %.0f), %.2f %% CPU\n",
                memory.load.wakeUpsPerSecond, memory.load.mainWakeUpsPerSecond, memory.load.cpuPercent);

    const Simulation sim = simulate(3);
    std::printf("6. Simulation speed: %.0f s of game time in %.3f s of CPU: %.0fx real time (%d of %d games won)\n",
                sim.gameSeconds, sim.cpuSeconds, sim.gameSeconds / sim.cpuSeconds, sim.won, sim.games);

    QJsonArray startRuns;
    for (double ms : starts)
        startRuns.append(ms);
    QJsonArray frameJson;
    for (const FrameCost& f : frames)
        frameJson.append(QJsonObject{{"width", f.width}, {"height", f.height}, {"median_ms", f.medianMs}, {"p99_ms", f.p99Ms}});
    QJsonObject driver = json(game.playing);
    driver.insert("game_ms", game.playing.gameMs);
    driver.insert("lag_median_ms", game.playing.lagMedianMs);
    driver.insert("lag_max_ms", game.playing.lagMaxMs);
    const QJsonObject results{
        {"machine", QJsonObject{{"cpu", cpuModel()}, {"cores", int(std::thread::hardware_concurrency())},
                                {"qt", qVersion()}, {"screen_hz", game.refreshRate}}},
        {"tick_fidelity", QJsonObject{{"raw_qt_timers", json(raw)}, {"real_driver", driver}}},
        {"idle_before_a_game", json(game.idle)},
        {"game_at_scale_2", json(enlarged.playing.load)},
        {"frame_cost", frameJson},
        {"startup_ms", QJsonObject{{"median", percentile(starts, 50)}, {"runs", startRuns}}},
        {"memory", QJsonObject{{"peak_kib", double(memory.peakKiB)}, {"game_over", memory.gameOver},
                               {"game_s", memory.gameSeconds}, {"load_during_game", json(memory.load)}}},
        {"simulation", QJsonObject{{"games", sim.games}, {"won", sim.won}, {"game_s", sim.gameSeconds},
                                   {"cpu_s", sim.cpuSeconds}, {"speed", sim.gameSeconds / sim.cpuSeconds}}},
    };
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/results.json");
    QFile out(path);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(QJsonDocument(results).toJson());
    std::printf("\nThe same figures: %s\n", qPrintable(path));
    return 0;
}
