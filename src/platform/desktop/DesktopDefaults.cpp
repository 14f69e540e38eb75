#include "platform/desktop/DesktopDefaults.h"

#include <QSettings>

#include <cstdlib>

namespace desktop {
namespace {

std::string defaultPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string folder = config != nullptr && config[0] == '/' ? config : "";
    if (folder.empty()) {
        const char* home = std::getenv("HOME");
        folder = std::string(home != nullptr ? home : "/tmp") + "/.config";
    }
    return folder + "/veltrin/veltrin.ini";
}

// The leading integer of a text, as a number reads from the desktop's own preferences.
int64_t leadingInteger(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(begin, &end, 10);
    if (end == begin || errno == ERANGE) return 0;
    return value;
}

}  // namespace

DesktopDefaults::DesktopDefaults() : DesktopDefaults(defaultPath()) {}

DesktopDefaults::DesktopDefaults(const std::string& path)
    : settings_(std::make_unique<QSettings>(QString::fromStdString(path), QSettings::IniFormat)) {}

DesktopDefaults::~DesktopDefaults() = default;

int64_t DesktopDefaults::integerForKey(const std::string& key) const {
    const auto text = stringForKey(key);
    return text ? leadingInteger(*text) : 0;
}

std::optional<std::string> DesktopDefaults::stringForKey(const std::string& key) const {
    const QVariant value = settings_->value(QString::fromStdString(key));
    if (!value.isValid()) return std::nullopt;
    return value.toString().toStdString();
}

void DesktopDefaults::setInteger(int64_t value, const std::string& key) {
    settings_->setValue(QString::fromStdString(key), QString::number(value));
    settings_->sync();
}

void DesktopDefaults::setString(const std::string& value, const std::string& key) {
    settings_->setValue(QString::fromStdString(key), QString::fromStdString(value));
    settings_->sync();
}

void DesktopDefaults::removeObject(const std::string& key) {
    settings_->remove(QString::fromStdString(key));
    settings_->sync();
}

}  // namespace desktop
