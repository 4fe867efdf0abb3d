// Start-up of the windows.
#include "app/gui_app.h"

#include <unistd.h>
#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/batch_mode.h"
#include "app/gui_host.h"
#include "app/main_window.h"
#include "export/whole_file.h"

namespace app {

namespace {

struct GuiOptions {
    std::string program;
    std::string screenshot;
};

bool ParseGuiOptions(const std::vector<std::string>& args, GuiOptions& options) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--screenshot" && i + 1 < args.size()) {
            options.screenshot = args[++i];
        } else if (args[i].rfind("--", 0) != 0 && options.program.empty()) {
            options.program = args[i];
        } else {
            return false;
        }
    }
    return true;
}

// Milliseconds since the process started, so the start-up time includes loading.
qint64 SinceProcessStart(qint64 fallback) {
#ifdef __linux__
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    if (close == std::string::npos) return fallback;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    // Field 22 of the file; the text after ")" starts at field 3.
    for (int i = 3; i < 22 && fields >> field; ++i) {
    }
    unsigned long long startTicks = 0;
    if (!(fields >> startTicks)) return fallback;
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    const qint64 started = static_cast<qint64>(startTicks * 1000 / ticksPerSecond);
    const qint64 current = now.tv_sec * 1000LL + now.tv_nsec / 1000000;
    return std::max(fallback, current - started);
#else
    return fallback;
#endif
}

bool HaveDisplay() {
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr ||
           std::getenv("QT_QPA_PLATFORM") != nullptr;
}

}  // namespace

void SetUpApplication(QApplication& application) {
    QApplication::setApplicationName("Zorvat");
    QApplication::setWindowIcon(QIcon(":/data/zorvat.svg"));
    const QLocale dutch(QLocale::Dutch, QLocale::Netherlands);
    QLocale::setDefault(dutch);
    auto* translator = new QTranslator(&application);
    if (translator->load(dutch, "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

bool IsGuiCommand(const std::vector<std::string>& args) {
    GuiOptions options;
    return ParseGuiOptions(args, options);
}

int RunGui(int argc, char** argv, const std::vector<std::string>& args) {
    QElapsedTimer clock;
    clock.start();
    GuiOptions options;
    ParseGuiOptions(args, options);
    if (!HaveDisplay()) {
        std::cerr
            << "zorvat: geen beeldscherm gevonden; zonder vensters werkt zorvat met --batch\n";
        RunBatchCommand({"--help"}, std::cout, std::cerr);
        return kExitUsage;
    }
    QApplication application(argc, argv);
    SetUpApplication(application);
    GuiHost host;
    MainWindow window(host);
    window.show();
    window.StartWith(QString::fromStdString(options.program));
    if (!options.screenshot.empty()) {
        // Once the window is on the screen and painted, grab what the screen shows.
        const QString file = QString::fromStdString(options.screenshot);
        auto* poll = new QTimer(&window);
        QObject::connect(poll, &QTimer::timeout, &window, [&window, &clock, poll, file] {
            // Once the start-up run is over, no message box is open and every window
            // that is shown is on the screen.
            if (!window.StartedUp() || window.Runner().Running() ||
                QApplication::activeModalWidget() != nullptr) {
                return;
            }
            for (QWidget* shown : QApplication::topLevelWidgets()) {
                if (!shown->isVisible()) continue;
                if (shown->windowHandle() == nullptr || !shown->windowHandle()->isExposed()) return;
            }
            poll->stop();
            window.repaint();
            QApplication::processEvents();
            const qint64 drawn = SinceProcessStart(clock.elapsed());
            const QPixmap shot = window.screen()->grabWindow(0);
            QByteArray bytes;
            QBuffer buffer(&bytes);
            const bool saved = !shot.isNull() && buffer.open(QIODevice::WriteOnly) &&
                               shot.save(&buffer, "PNG") &&
                               exporter::WriteWholeFile(file.toStdString(), bytes.toStdString());
            std::cout << "opstarttijd " << drawn << " ms" << std::endl;
            if (!saved) std::cerr << "zorvat: kan " << file.toStdString() << " niet opslaan\n";
            QApplication::exit(saved ? kExitOk : kExitUsage);
        });
        poll->start(10);
    }
    return QApplication::exec();
}

}  // namespace app
