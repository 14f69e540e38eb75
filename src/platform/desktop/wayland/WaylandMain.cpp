#include "platform/desktop/wayland/WaylandMain.h"

#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QSocketNotifier>

#include <cstdlib>
#include <iostream>

#include "app/Entry.h"
#include "app/Log.h"
#include "platform/Platform.h"
#include "platform/desktop/DesktopPlatform.h"
#include "platform/desktop/wayland/WaylandContext.h"
#include "platform/desktop/wayland/WaylandSession.h"

namespace desktop {
namespace {

WaylandContext* liveContext = nullptr;

// Said once, by whichever connection notices first: ours, or the toolkit's.
void compositorLost() {
    static bool said = false;
    if (!said && platform::isInstalled())
        flog("wayland: connection to the compositor lost, quitting");
    said = true;
    ::_exit(1);
}

// The toolkit's connection may notice first: it warns, then ends the process at once,
// without the handlers of a normal exit.
QtMessageHandler toolkitHandler = nullptr;

void watchToolkitWarnings(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
    if (type == QtWarningMsg && message.startsWith("The Wayland connection")) compositorLost();
    if (toolkitHandler != nullptr) toolkitHandler(type, context, message);
}

void logLostCompositor() {
    if (liveContext == nullptr) return;
    auto& connection = liveContext->connection();
    if (connection.broken() || !connection.roundtrip()) compositorLost();
}

// The compositor's events are read on the main thread as they arrive; what the program
// sent is flushed before the event loop sleeps.
void watchConnection(WaylandConnection& connection) {
    static QSocketNotifier notifier(connection.fd(), QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, [&connection] {
        if (!connection.dispatch()) compositorLost();
    });
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     [&connection] {
                         if (!connection.flush()) compositorLost();
                     });
}

platform::Point mainOrigin(WaylandContext& context) {
    const auto outputs = context.outputs().all();
    if (outputs.empty()) return {};
    return {outputs.front().rect.x, outputs.front().rect.y};
}

}  // namespace
}  // namespace desktop

int runWaylandDesktop(int argc, char** argv, const std::string& desktopLine,
                      std::unique_ptr<desktop::WaylandContext> opened) {
    using namespace desktop;
    if (opened == nullptr) {
        std::cerr << "veltrin: cannot reach the Wayland compositor\n";
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "wayland");
    toolkitHandler = qInstallMessageHandler(watchToolkitWarnings);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    static std::unique_ptr<WaylandContext> kept = std::move(opened);
    WaylandContext& context = *kept;
    liveContext = &context;
    std::atexit(logLostCompositor);
    context.windows().setOrigin(mainOrigin(context));
    watchConnection(context.connection());
    static WaylandSession session(context);
    platform::install(std::make_unique<DesktopPlatform>(session));
    flog(desktopLine);
    const int status = runApplication();
    context.connection().flush();
    std::cout.flush();
    liveContext = nullptr;
    ::_exit(status);  // threads of pinned windows may still run: end without unwinding them
}
