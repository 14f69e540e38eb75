#include "platform/desktop/x11/X11Main.h"

#include <unistd.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QGuiApplication>

#include <cstdlib>
#include <iostream>

#include "app/Entry.h"
#include "app/Log.h"
#include "platform/Platform.h"
#include "platform/desktop/DesktopPlatform.h"
#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11Session.h"
#include "platform/desktop/x11/X11WindowModel.h"

namespace desktop {
namespace {

X11Context* liveContext = nullptr;

// Every event of the toolkit's connection passes our services first.
class EventFilter : public QAbstractNativeEventFilter {
public:
    explicit EventFilter(X11Context& context) : context_(context) {}

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        const auto& event = *static_cast<const xcb_generic_event_t*>(message);
        noteUserTime(event);
        return context_.events().dispatch(event);
    }

private:
    void noteUserTime(const xcb_generic_event_t& event) {
        switch (eventType(event)) {
            case XCB_KEY_PRESS:
            case XCB_KEY_RELEASE:
            case XCB_BUTTON_PRESS:
            case XCB_BUTTON_RELEASE:
                context_.noteUserTime(reinterpret_cast<const xcb_key_press_event_t&>(event).time);
                break;
            default:
                break;
        }
    }

    X11Context& context_;
};

// The toolkit ends the process with status 1 when the server goes away; say why, and end
// before static objects are torn down under the threads of pinned windows.
void logLostServer() {
    if (liveContext == nullptr || !liveContext->main().broken()) return;
    if (platform::isInstalled()) flog("x11: connection to the X server lost, quitting");
    ::_exit(1);
}

std::string displayName() {
    const char* name = std::getenv("DISPLAY");
    return name != nullptr ? name : "";
}

}  // namespace
}  // namespace desktop

int runX11Desktop(int argc, char** argv, const std::string& desktopLine) {
    using namespace desktop;
    const std::string display = displayName();
    if (display.empty()) {
        std::cerr << "veltrin: no X display: DISPLAY is not set (try --simulate)\n";
        return 2;
    }
    int screen = 0;
    {
        xcb_connection_t* probe = xcb_connect(display.c_str(), &screen);
        const bool reachable = probe != nullptr && xcb_connection_has_error(probe) == 0;
        if (probe != nullptr) xcb_disconnect(probe);
        if (!reachable) {
            std::cerr << "veltrin: cannot open X display \"" << display << "\"\n";
            return 2;
        }
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    // Panels, screens and the settings window all count in X pixels; the toolkit must not
    // scale its windows by the desktop's text resolution. The tray menu's text still does.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qunsetenv("QT_SCALE_FACTOR");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    auto main = x11 != nullptr ? X11Connection::borrow(x11->connection(), screen) : nullptr;
    if (main == nullptr) {
        std::cerr << "veltrin: the toolkit has no X11 connection to \"" << display << "\"\n";
        return 2;
    }
    static X11Context context(main, display);
    liveContext = &context;
    std::atexit(logLostServer);
    static EventFilter filter(context);
    app.installNativeEventFilter(&filter);
    context.windows().start();
    static X11Session session(context);
    platform::install(std::make_unique<DesktopPlatform>(session));
    flog(desktopLine);
    const int status = runApplication();
    context.main().flush();
    std::cout.flush();
    ::_exit(status);  // threads of pinned windows may still run: end without unwinding them
}
