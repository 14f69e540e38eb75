#include "SettingsBenchDesktop.h"

#include <stdlib.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QEventLoop>
#include <QMouseEvent>
#include <QRasterWindow>
#include <QTimer>

#include <filesystem>
#include <stdexcept>

#include "app/Outfit.h"
#include "platform/Platform.h"
#include "platform/desktop/DesktopPlatform.h"
#include "platform/desktop/DesktopWindow.h"
#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11Session.h"
#include "platform/desktop/x11/X11WindowModel.h"

namespace {

int argc = 1;
char programName[] = "veltrin";
char* argv[] = {programName, nullptr};

}  // namespace

struct SettingsBenchDesktop::Toolkit {
    // Every event of the toolkit's connection passes the desktop's services first, and a key
    // or button press is the user's latest input, as in the program.
    class Filter : public QAbstractNativeEventFilter {
    public:
        explicit Filter(desktop::X11Context& context) : context_(context) {}
        bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
            if (type != "xcb_generic_event_t") return false;
            const auto& event = *static_cast<const xcb_generic_event_t*>(message);
            const uint8_t kind = desktop::eventType(event);
            if (kind == XCB_KEY_PRESS || kind == XCB_BUTTON_PRESS)
                context_.noteUserTime(
                    reinterpret_cast<const xcb_button_press_event_t&>(event).time);
            return context_.events().dispatch(event);
        }

    private:
        desktop::X11Context& context_;
    };

    // The stand-in for the tray's menu item: a small window that opens the settings on a click.
    class Launcher : public QRasterWindow {
    public:
        explicit Launcher(std::function<void()> open) : open_(std::move(open)) {
            setFlags(Qt::Window | Qt::FramelessWindowHint);
            setGeometry(0, 0, 40, 40);
        }

    protected:
        void mouseReleaseEvent(QMouseEvent*) override { open_(); }

    private:
        std::function<void()> open_;
    };

    explicit Toolkit(int screen) : application(argc, argv) {
        auto* x11 = application.nativeInterface<QNativeInterface::QX11Application>();
        context = std::make_unique<desktop::X11Context>(
            desktop::X11Connection::borrow(x11->connection(), screen),
            qgetenv("DISPLAY").toStdString());
        filter = std::make_unique<Filter>(*context);
        application.installNativeEventFilter(filter.get());
        context->windows().start();
        session = std::make_unique<desktop::X11Session>(*context);
    }

    QApplication application;
    std::unique_ptr<desktop::X11Context> context;
    std::unique_ptr<desktop::X11Session> session;
    std::unique_ptr<Filter> filter;
    std::unique_ptr<Launcher> launcher;
};

SettingsBenchDesktop::SettingsBenchDesktop() : headless_(std::make_unique<HeadlessDesktop>()) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "veltrin-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temp folder");
    home_ = pattern;
    setenv("DISPLAY", headless_->display().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home_ + "/config").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    toolkit_ = std::make_unique<Toolkit>(0);
    platform::install(std::make_unique<desktop::DesktopPlatform>(*toolkit_->session));
    registerOutfitFonts();
    toolkit_->launcher = std::make_unique<Toolkit::Launcher>([this] {
        if (!settings) settings = std::make_shared<SettingsWindow>();
        settings->show();
    });
    toolkit_->launcher->show();
    if (!pumpUntil([this] { return toolkit_->launcher->isExposed(); }, std::chrono::seconds(5)))
        throw std::runtime_error("the launcher window never showed");
}

SettingsBenchDesktop::~SettingsBenchDesktop() {
    settings.reset();
    toolkit_->launcher.reset();
    platform::uninstall();
    toolkit_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(home_, ignored);
}

bool SettingsBenchDesktop::pumpUntil(const std::function<bool()>& condition,
                                     std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents();
    }
    return true;
}

// A real wait in the event loop: processEvents with a time limit returns at once when
// nothing is pending, and calling it in a loop would spin.
void SettingsBenchDesktop::idle(std::chrono::milliseconds duration) {
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
}

void SettingsBenchDesktop::clickLauncher() {
    x().click(20, 20);
}

void SettingsBenchDesktop::forgetSettings() {
    settings.reset();
    pumpUntil([] { return true; }, std::chrono::milliseconds(0));
}

desktop::DesktopWindow* SettingsBenchDesktop::window() const {
    return settings ? dynamic_cast<desktop::DesktopWindow*>(settings->window.get()) : nullptr;
}

XDriver::Rect SettingsBenchDesktop::rootRect() {
    const auto* shown = window();
    if (shown == nullptr || shown->windowId() == 0) return {};
    return x().rect(shown->windowId()).value_or(XDriver::Rect{});
}

void SettingsBenchDesktop::clickInSettings(double x, double y) {
    const XDriver::Rect rect = rootRect();
    this->x().click(rect.x + static_cast<int>(x), rect.y + static_cast<int>(y));
}
