#include "platform/desktop/DesktopDefaults.h"

#include <QFile>
#include <QSettings>

#include <cstdlib>

#include "app/Log.h"

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
    : settings_(std::make_unique<QSettings>(QString::fromStdString(path), QSettings::IniFormat)),
      corrupt_(settings_->status() == QSettings::FormatError) {}

DesktopDefaults::~DesktopDefaults() = default;

int64_t DesktopDefaults::integerForKey(const std::string& key) const {
    const auto text = stringForKey(key);
    return text ? leadingInteger(*text) : 0;
}

std::optional<std::string> DesktopDefaults::stringForKey(const std::string& key) const {
    if (corrupt_) {
        reportCorrupt();
        return std::nullopt;
    }
    const QVariant value = settings_->value(QString::fromStdString(key));
    if (!value.isValid()) return std::nullopt;
    return value.toString().toStdString();
}

void DesktopDefaults::setInteger(int64_t value, const std::string& key) {
    prepareWrite();
    settings_->setValue(QString::fromStdString(key), QString::number(value));
    write();
}

void DesktopDefaults::setString(const std::string& value, const std::string& key) {
    prepareWrite();
    settings_->setValue(QString::fromStdString(key), QString::fromStdString(value));
    write();
}

void DesktopDefaults::removeObject(const std::string& key) {
    prepareWrite();
    settings_->remove(QString::fromStdString(key));
    write();
}

// Said at the first read, once the log is open (the store is made before the platform is).
void DesktopDefaults::reportCorrupt() const {
    if (toldCorrupt_) return;
    toldCorrupt_ = true;
    flog("defaults: " + settings_->fileName().toStdString() +
         " cannot be read; using the defaults until a setting changes");
}

// The first change to a corrupt file starts afresh; the old bytes stay beside it. A fresh
// store, since the old one would keep reporting the format error instead of a failed write.
void DesktopDefaults::prepareWrite() {
    if (!corrupt_) return;
    corrupt_ = false;
    const QString path = settings_->fileName();
    QFile::remove(path + ".corrupt");
    if (QFile::copy(path, path + ".corrupt"))
        flog("defaults: kept the unreadable settings as " + path.toStdString() + ".corrupt");
    else
        flog("defaults: cannot keep the unreadable settings aside; " + path.toStdString() +
             " starts afresh");
    settings_.reset();
    QFile::remove(path);
    settings_ = std::make_unique<QSettings>(path, QSettings::IniFormat);
}

void DesktopDefaults::write() {
    settings_->sync();
    if (settings_->status() == QSettings::AccessError)
        flog("defaults: cannot write " + settings_->fileName().toStdString());
}

}  // namespace desktop
