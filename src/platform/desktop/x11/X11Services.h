#pragma once

#include <memory>

#include "platform/Platform.h"

namespace desktop {

class X11Context;

// The services that talk to the X server, each made once by the desktop platform.
std::unique_ptr<platform::Workspace> makeWorkspace(X11Context& context,
                                                   platform::Dispatch& dispatch);
std::unique_ptr<platform::Accessibility> makeAccessibility(X11Context& context);
std::unique_ptr<platform::ShareableContent> makeShareableContent(X11Context& context,
                                                                 platform::Dispatch& dispatch);
std::unique_ptr<platform::AXElements> makeAXElements(X11Context& context);
std::unique_ptr<platform::AXObservers> makeAXObservers(X11Context& context);
std::unique_ptr<platform::CaptureStreams> makeCaptureStreams(X11Context& context);
std::unique_ptr<platform::HotKeys> makeHotKeys(X11Context& context);
std::unique_ptr<platform::Screens> makeScreens(X11Context& context);
class DesktopTransaction;
std::unique_ptr<platform::Windows> makeWindows(X11Context& context,
                                               DesktopTransaction& transaction);
std::unique_ptr<platform::WindowList> makeWindowList(X11Context& context);
std::unique_ptr<platform::DisplayLinks> makeDisplayLinks(X11Context& context);
std::unique_ptr<platform::EventTaps> makeEventTaps(X11Context& context,
                                                   platform::Dispatch& dispatch);

}  // namespace desktop
