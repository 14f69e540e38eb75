#pragma once

#include "platform/UserDefaults.h"
#include "platform/sim/SimDesktop.h"

namespace sim {

// The user's preferences, shared by every copy of the program on the desktop.
class SimDefaults : public platform::UserDefaults {
public:
    explicit SimDefaults(SimDesktop& desktop) : desktop_(desktop) {}
    int64_t integerForKey(const std::string& key) const override;
    std::optional<std::string> stringForKey(const std::string& key) const override;
    void setInteger(int64_t value, const std::string& key) override;
    void setString(const std::string& value, const std::string& key) override;
    void removeObject(const std::string& key) override;

private:
    SimDesktop& desktop_;
};

}  // namespace sim
