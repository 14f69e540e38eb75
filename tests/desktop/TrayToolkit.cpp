#include "desktop/TrayToolkit.h"

#include <QGuiApplication>

#include <memory>
#include <mutex>

#include "app/Log.h"
#include "platform/sim/SimPlatform.h"

void TrayToolkit::SetUpTestSuite() {
    if (QGuiApplication::instance() != nullptr) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "veltrin_desktop_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit the toolkit's own font cache goes first, and the application's
    // destructor would then crash reaching it.
    static auto* application = new QGuiApplication(argc, argv);
    (void)application;
}

TrayToolkit::TrayToolkit() {
    platform::install(std::make_unique<sim::SimPlatform>(desktop));
}

TrayToolkit::~TrayToolkit() {
    platform::uninstall();
}

std::string TrayToolkit::log() {
    std::lock_guard lock(desktop.filesMutex);
    return desktop.files[logPath];
}
