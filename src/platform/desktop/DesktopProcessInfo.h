#pragma once

#include "platform/ProcessInfo.h"

namespace desktop {

// This process; its bundle identifier is the path of its executable, so every copy of
// one installed program shares it.
class DesktopProcessInfo : public platform::ProcessInfo {
public:
    int32_t processIdentifier() const override;
    std::map<std::string, std::string> environment() const override;
    std::optional<std::string> bundleIdentifier() const override;
};

}  // namespace desktop
