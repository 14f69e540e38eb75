#include "platform/desktop/DesktopDefaults.h"

#include <QFile>
#include <QFileInfo>
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

DesktopDefaults::DesktopDefaults(const std::string& path) : path_(path) {
    size_ = QFileInfo(QString::fromStdString(path)).size();
    if (size_ > largestFile) {
        unreadable_ = Unreadable::tooLarge;  // parsing it would hold it all in memory
        return;
    }
    open();
    if (settings_->status() == QSettings::FormatError) unreadable_ = Unreadable::corrupt;
}

DesktopDefaults::~DesktopDefaults() = default;

int64_t DesktopDefaults::integerForKey(const std::string& key) const {
    const auto text = stringForKey(key);
    return text ? leadingInteger(*text) : 0;
}

std::optional<std::string> DesktopDefaults::stringForKey(const std::string& key) const {
    if (unreadable_ != Unreadable::no) {
        reportUnreadable();
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

// An unreadable file holds nothing that reads back, so a removal changes nothing: the launch's
// repair of the shortcut leaves the file where it is.
void DesktopDefaults::removeObject(const std::string& key) {
    if (unreadable_ != Unreadable::no) return;
    prepareWrite();
    settings_->remove(QString::fromStdString(key));
    write();
}

void DesktopDefaults::open() {
    settings_ = std::make_unique<QSettings>(QString::fromStdString(path_), QSettings::IniFormat);
}

// Said at the first read, once the log is open (the store is made before the platform is).
void DesktopDefaults::reportUnreadable() const {
    if (toldUnreadable_) return;
    toldUnreadable_ = true;
    const std::string why = unreadable_ == Unreadable::tooLarge
                                ? " is " + std::to_string(size_) + " bytes, more than the " +
                                      std::to_string(largestFile) + " read"
                                : " cannot be read";
    flog("defaults: " + path_ + why + "; using the defaults until a setting changes");
}

// The first change to an unreadable file starts afresh; the old file moves beside it, its
// bytes as they were. A fresh store, since the old one would keep reporting the format
// error instead of a failed write.
void DesktopDefaults::prepareWrite() {
    if (unreadable_ == Unreadable::no) return;
    const std::string aside =
        path_ + (unreadable_ == Unreadable::tooLarge ? ".too-large" : ".corrupt");
    unreadable_ = Unreadable::no;
    settings_.reset();
    const QString path = QString::fromStdString(path_);
    QFile::remove(QString::fromStdString(aside));
    if (QFile::rename(path, QString::fromStdString(aside)))
        flog("defaults: kept the unreadable settings as " + aside);
    else
        flog("defaults: cannot keep the unreadable settings aside; " + path_ + " starts afresh");
    QFile::remove(path);
    open();
}

void DesktopDefaults::write() {
    settings_->sync();
    if (settings_->status() == QSettings::AccessError) flog("defaults: cannot write " + path_);
}

}  // namespace desktop
