#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// The application's standard preferences domain. A write is seen by the next read.
class UserDefaults {
public:
    virtual ~UserDefaults() = default;

    // An absent key (or one that holds no number) reads 0.
    virtual int64_t integerForKey(const std::string& key) const = 0;
    // An absent key reads nothing; a stored number reads as its decimal text.
    virtual std::optional<std::string> stringForKey(const std::string& key) const = 0;
    virtual void setInteger(int64_t value, const std::string& key) = 0;
    virtual void setString(const std::string& value, const std::string& key) = 0;
    virtual void removeObject(const std::string& key) = 0;
};

}  // namespace platform
