#pragma once

#include <memory>
#include <string>

#include "platform/UserDefaults.h"

class QSettings;

namespace desktop {

// Preferences in an INI file under the user's XDG configuration folder. INI keeps text
// only, so a number reads back by its leading integer, as the logic expects. A file that
// does not parse, or is larger than any preferences file we write (over largestFile
// bytes; never read), reads as empty and stays untouched until the user changes a
// setting; then it is moved beside as "<file>.corrupt" (or "<file>.too-large") and a fresh
// file holds the new setting.
class DesktopDefaults : public platform::UserDefaults {
public:
    static constexpr int64_t largestFile = 1 << 20;

    // The file "veltrin/veltrin.ini" under $XDG_CONFIG_HOME (or ~/.config).
    DesktopDefaults();
    explicit DesktopDefaults(const std::string& path);
    ~DesktopDefaults() override;

    int64_t integerForKey(const std::string& key) const override;
    std::optional<std::string> stringForKey(const std::string& key) const override;
    void setInteger(int64_t value, const std::string& key) override;
    void setString(const std::string& value, const std::string& key) override;
    void removeObject(const std::string& key) override;

private:
    enum class Unreadable { no, corrupt, tooLarge };

    void open();
    void reportUnreadable() const;
    void prepareWrite();
    void write();

    std::string path_;
    std::unique_ptr<QSettings> settings_;  // none while the file is too large to read
    Unreadable unreadable_ = Unreadable::no;
    int64_t size_ = 0;
    mutable bool toldUnreadable_ = false;
};

}  // namespace desktop
