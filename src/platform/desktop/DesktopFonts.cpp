#include "platform/desktop/DesktopFonts.h"

#include <QFontDatabase>
#include <QRawFont>

namespace desktop {
namespace {

int weightOf(const QRawFont& font) {
    return static_cast<int>(font.weight());
}

}  // namespace

bool DesktopFonts::registerFontsForURL(const std::string& url, int) {
    const QString path = QString::fromStdString(url);
    if (QFontDatabase::addApplicationFont(path) < 0) return false;
    const QRawFont raw(path, 12);
    if (!raw.isValid()) return false;
    const QByteArray nameTable = raw.fontTable("name");
    // The PostScript name is name id 6; the file name carries it for our own fonts, and
    // reading the table is enough to tell that the file is whole.
    if (nameTable.isEmpty()) return false;
    const std::string file = url.substr(url.find_last_of('/') + 1);
    weights_[file.substr(0, file.find_last_of('.'))] = weightOf(raw);
    return true;
}

std::optional<platform::Font> DesktopFonts::fontWithName(const std::string& name, double size) {
    const auto found = weights_.find(name);
    if (found == weights_.end()) return std::nullopt;
    return platform::Font{name, size, found->second, false};
}

platform::Font DesktopFonts::systemFont(double size, int weight) {
    return {"System", size, weight, true};
}

}  // namespace desktop
