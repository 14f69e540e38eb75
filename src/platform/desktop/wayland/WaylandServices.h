#pragma once

#include <memory>

#include "platform/Platform.h"

namespace desktop {

class WaylandContext;
class DesktopTransaction;

// The services that talk to the compositor, each made once by the desktop platform.
std::unique_ptr<platform::Workspace> makeWaylandWorkspace(WaylandContext& context,
                                                          platform::Dispatch& dispatch);
std::unique_ptr<platform::Accessibility> makeWaylandAccessibility(WaylandContext& context);
std::unique_ptr<platform::ShareableContent> makeWaylandShareableContent(
    WaylandContext& context, platform::Dispatch& dispatch);
std::unique_ptr<platform::AXElements> makeWaylandAXElements(WaylandContext& context);
std::unique_ptr<platform::AXObservers> makeWaylandAXObservers(WaylandContext& context);
std::unique_ptr<platform::Screens> makeWaylandScreens(WaylandContext& context);
std::unique_ptr<platform::WindowList> makeWaylandWindowList(WaylandContext& context);
std::unique_ptr<platform::DisplayLinks> makeWaylandDisplayLinks(WaylandContext& context);
std::unique_ptr<platform::EventTaps> makeWaylandEventTaps();
std::unique_ptr<platform::Windows> makeWaylandWindows(WaylandContext& context,
                                                      DesktopTransaction& transaction);

}  // namespace desktop
