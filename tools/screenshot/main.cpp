// Pictures of the eight tabs of the real window, connected to the emulated controller and
// filled by a read of everything, and of the history window after a simulated day, for the
// documentation and for layout reviews.

#include "capture.h"
#include "emulated_controller.h"

#include "config/config_file.h"
#include "sim/demo_installation.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/tab_page.h"
#include "ui/verlauf_window.h"
#include "ui/window_style.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>

using namespace vandorelle;
using namespace vandorelle::tools;

namespace {

void say(const QString &text) { std::fprintf(stderr, "vandorelle-screenshots: %s\n", qPrintable(text)); }

struct Options {
    QString outputDir;
    QString simulator;
    QString model;
    QString state; // empty: the demo installation
    QSize size{829, 590};
    int fontPixels = 0; // 0: the window's own font
    int timeScale = 480;
    int historyHours = 24;
};

// Whole numbers of an option within a range; false (and a message) otherwise.
bool numberOption(const QCommandLineParser &parser, const QCommandLineOption &option, int minimum, int maximum,
                  int &target)
{
    if (!parser.isSet(option))
        return true;
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok || value < minimum || value > maximum) {
        say(QStringLiteral("--%1 wants a whole number from %2 to %3").arg(option.names().constFirst()).arg(minimum).arg(maximum));
        return false;
    }
    target = value;
    return true;
}

bool parseOptions(const QApplication &app, Options &o)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Starts the emulated controller, connects the window to it offscreen, reads everything\n"
        "and the logbook, and writes one PNG picture per tab."));
    parser.addHelpOption();
    const QCommandLineOption out("out", "Folder for the pictures (default docs/screenshots).", "DIR",
                                 QStringLiteral("docs/screenshots"));
    const QCommandLineOption sim("sim", "The emulator program (default: vandorelle-sim beside this program).",
                                 "PATH", app.applicationDirPath() + QStringLiteral("/vandorelle-sim"));
    const QCommandLineOption model("model", "Model string for the emulator (default: its own, every function).",
                                   "TEXT");
    const QCommandLineOption size("size", "Window size (default 829x590).", "WxH");
    const QCommandLineOption font("font-px", "Height of the application font in pixels, to try the layouts "
                                             "with another font (default: the window's own, 11).", "N");
    const QCommandLineOption state("state", "Installation the emulator starts with (default: the demo "
                                            "installation, as in demo/Musterhaus.vsk).", "FILE.vsk");
    const QCommandLineOption timeScale("time-scale", "The emulator's clock and weather, and the window's history, "
                                                     "run N times faster (default 480: a day in 3 minutes).", "N");
    const QCommandLineOption history("history-hours", "Simulated hours to record before the pictures of the "
                                                      "history window (default 24; 0: no such pictures).", "H");
    parser.addOptions({out, sim, model, size, font, state, timeScale, history});
    parser.process(app);

    o.outputDir = QFileInfo(parser.value(out)).absoluteFilePath();
    o.simulator = QFileInfo(parser.value(sim)).absoluteFilePath();
    o.model = parser.value(model);
    if (parser.isSet(size)) {
        const QStringList wh = parser.value(size).split(QLatin1Char('x'));
        bool okW = false, okH = false;
        if (wh.size() == 2)
            o.size = QSize(wh[0].toInt(&okW), wh[1].toInt(&okH));
        if (!okW || !okH || o.size.width() < 100 || o.size.height() < 100) {
            say(QStringLiteral("--size wants WIDTHxHEIGHT, for example 829x590"));
            return false;
        }
    }
    if (parser.isSet(state))
        o.state = QFileInfo(parser.value(state)).absoluteFilePath();
    return numberOption(parser, font, 6, 40, o.fontPixels) && numberOption(parser, timeScale, 1, 1440, o.timeScale)
           && numberOption(parser, history, 0, 24, o.historyHours);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Options options;
    if (!parseOptions(app, options))
        return 2;
    applyWindowFont();
    if (options.fontPixels > 0) {
        QFont f = QApplication::font();
        f.setPixelSize(options.fontPixels);
        QApplication::setFont(f);
    }
    if (!QDir().mkpath(options.outputDir)) {
        say(QStringLiteral("cannot create %1").arg(options.outputDir));
        return 1;
    }

    // The window writes its settings file into the working directory: keep it out of the tree.
    QTemporaryDir work;
    if (!work.isValid() || !QDir::setCurrent(work.path())) {
        say(QStringLiteral("no temporary working directory"));
        return 1;
    }
    QString state = options.state;
    if (state.isEmpty()) {
        state = work.filePath(QStringLiteral("demo.vsk"));
        if (const QString error = saveConfigFile(state, sim::demoInstallation()); !error.isEmpty()) {
            say(QStringLiteral("cannot write %1: %2").arg(state, error));
            return 1;
        }
    }

    QStringList simOptions{"--baud", "0", "--seed", "7", "--state", state, "--time-scale",
                           QString::number(options.timeScale)};
    if (!options.model.isEmpty())
        simOptions << QStringLiteral("--model") << options.model;
    EmulatedController controller;
    if (!controller.start(options.simulator, simOptions)) {
        say(controller.error());
        return 1;
    }
    qputenv("VANDORELLE_COM1", controller.devicePath().toLocal8Bit());

    QStringList dialogs;
    ui::dialogHooks().error = [&dialogs](QWidget *, const QString &text) { dialogs << text; };
    ui::dialogHooks().information = [&dialogs](QWidget *, const QString &text) { dialogs << text; };
    ui::dialogHooks().question = [&dialogs](QWidget *, const QString &text) {
        dialogs << text;
        return false;
    };
    ui::dialogHooks().chooseFile = [](QFileDialog *) { return QString(); };

    TQuorvix window;
    // The history keeps the emulator's pace, so that its day fits into the waiting time.
    window.sensorRecorder.setClock(SensorClock::faster(options.timeScale));
    window.resize(options.size);
    window.show(); // start-up runs on the first show
    WindowDriver driver(window);
    const bool connected = driver.waitForConnection();
    if (connected) {
        // The logbook first: its end clears the status panel where the read-all leaves the
        // free-memory figure.
        driver.readLogbook();
        driver.readAll();
    }

    // Layouts that cannot shrink to the asked size make the window grow: say which.
    if (window.size() != options.size)
        say(QStringLiteral("window is %1x%2, not the asked %3x%4")
                .arg(window.width()).arg(window.height()).arg(options.size.width()).arg(options.size.height()));
    for (TabPage *page : window.pages) {
        const QSize need = page->minimumSizeHint();
        say(QStringLiteral("%1 needs at least %2x%3").arg(page->objectName()).arg(need.width()).arg(need.height()));
    }

    int written = 0;
    for (int i = 0; i < int(window.pages.size()); ++i) {
        TabPage *page = window.pages[i];
        const QString name = pictureName(i + 1, page);
        if (!window.Parameter_Maske->isTabVisible(window.Parameter_Maske->indexOf(page))) {
            say(QStringLiteral("%1: tab hidden for this controller, no picture").arg(name));
            continue;
        }
        driver.showPage(page);
        const QString path = QDir(options.outputDir).filePath(name + QStringLiteral(".png"));
        if (driver.grabTo(path)) {
            ++written;
            std::printf("%s\n", qPrintable(path));
        }
    }
    window.Parameter_Maske->setCurrentIndex(0);
    if (connected && options.historyHours > 0) {
        const qint64 wanted = qint64(options.historyHours) * 3600 * 1000;
        say(QStringLiteral("recording %1 simulated hours for the history window (%2 s)")
                .arg(options.historyHours)
                .arg(wanted / 1000 / options.timeScale));
        const std::pair<const char *, Quantity> pictures[] = {{"09-verlauf-helligkeit", Quantity::Helligkeit},
                                                              {"10-verlauf-temperatur", Quantity::Temperatur}};
        if (driver.recordHistory(wanted, int(wanted / options.timeScale) + 30000)) {
            for (const auto &[name, quantity] : pictures) {
                const QString path = QDir(options.outputDir).filePath(QLatin1String(name) + QStringLiteral(".png"));
                if (driver.grabHistory(quantity, path)) {
                    ++written;
                    std::printf("%s\n", qPrintable(path));
                }
            }
        }
    }

    for (const QString &text : dialogs)
        say(QStringLiteral("dialog: %1").arg(text.simplified()));
    for (const QString &text : driver.problems())
        say(text);
    window.close();
    controller.stop();
    return connected && written > 0 && driver.problems().isEmpty() ? 0 : 1;
}
