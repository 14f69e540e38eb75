#include "platform/desktop/DesktopPlatform.h"

#include <chrono>

#include "platform/desktop/DesktopApplication.h"
#include "platform/desktop/DesktopBundle.h"
#include "platform/desktop/DesktopBusWorkspace.h"
#include "platform/desktop/DesktopDefaults.h"
#include "platform/desktop/DesktopDispatch.h"
#include "platform/desktop/DesktopFonts.h"
#include "platform/desktop/DesktopImages.h"
#include "platform/desktop/DesktopKeyMonitors.h"
#include "platform/desktop/DesktopProcessInfo.h"
#include "platform/desktop/DesktopSession.h"
#include "platform/desktop/DesktopStatusBar.h"
#include "platform/desktop/DesktopTimers.h"
#include "platform/desktop/DesktopTransaction.h"
#include "platform/posix/PosixFiles.h"

namespace desktop {
namespace {

class SystemClock : public platform::Clock {
public:
    std::chrono::system_clock::time_point now() const override {
        return std::chrono::system_clock::now();
    }
};

}  // namespace

DesktopPlatform::DesktopPlatform(DesktopSession& session)
    : dispatch_(std::make_unique<DesktopDispatch>()),
      clock_(std::make_unique<SystemClock>()),
      defaults_(std::make_unique<DesktopDefaults>()),
      process_(std::make_unique<DesktopProcessInfo>()),
      application_(std::make_unique<DesktopApplication>(*dispatch_)),
      workspace_(std::make_unique<DesktopBusWorkspace>(session.makeWorkspace(*dispatch_))),
      accessibility_(session.makeAccessibility()),
      shareableContent_(session.makeShareableContent(*dispatch_)),
      files_(std::make_unique<platform::PosixFiles>()),
      axElements_(session.makeAXElements()),
      captureStreams_(session.makeCaptureStreams(*dispatch_)),
      axObservers_(session.makeAXObservers()),
      hotKeys_(session.makeHotKeys()),
      statusBar_(std::make_unique<DesktopStatusBar>()),
      fonts_(std::make_unique<DesktopFonts>()),
      bundle_(std::make_unique<DesktopBundle>(DesktopBundle::locateResources())),
      screens_(session.makeScreens()),
      windowList_(session.makeWindowList()),
      transaction_(std::make_unique<DesktopTransaction>()),
      timers_(std::make_unique<DesktopTimers>()),
      displayLinks_(session.makeDisplayLinks()),
      eventTaps_(session.makeEventTaps(*dispatch_)),
      keyMonitors_(std::make_unique<DesktopKeyMonitors>()),
      keyNaming_(session.makeKeyNaming()) {
    images_ = std::make_unique<DesktopImages>(*bundle_);
    windows_ = session.makeWindows(static_cast<DesktopTransaction&>(*transaction_));
}

DesktopPlatform::~DesktopPlatform() = default;

}  // namespace desktop
