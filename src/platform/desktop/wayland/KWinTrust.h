#pragma once

#include <string>

#include "platform/PermissionRemedy.h"

namespace desktop {

class WaylandConnection;

// KWin offers its window list and window capture only to a program named, by its exact path,
// in the Exec= line of a desktop entry that lists both interfaces, found in KDE's service
// cache.
//
//   kwinTrustEntry("/usr/local/bin/veltrin")   // the entry's lines
//   kwinTrustRemedy("/usr/local/bin/veltrin")  // what the user does to be trusted
std::string kwinTrustEntry(const std::string& program);
platform::PermissionRemedy kwinTrustRemedy(const std::string& program);
// On KWin the trust of this program's path; on another compositor what it lacks.
platform::PermissionRemedy trustRemedy(const WaylandConnection& connection);

}  // namespace desktop
