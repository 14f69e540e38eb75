#include "platform/desktop/DesktopFonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QRawFont>
#include <QtEndian>

#include <algorithm>
#include <optional>

#include "app/Log.h"

namespace desktop {
namespace {

constexpr quint16 postScriptNameId = 6;

quint16 word(const QByteArray& table, qsizetype at) {
    return qFromBigEndian<quint16>(table.constData() + at);
}

// A 'name' record's text: UTF-16BE on the Unicode and Windows platforms, else one byte a
// character (PostScript names are ASCII).
std::string recordText(const QByteArray& bytes, quint16 platformId) {
    if (platformId == 1) return bytes.toStdString();
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text.append(QChar(word(bytes, i)));
    return text.toStdString();
}

// Name id 6 of an OpenType 'name' table; nothing when the table is cut short or lacks it.
std::optional<std::string> postScriptName(const QByteArray& table) {
    if (table.size() < 6) return std::nullopt;
    const quint16 count = word(table, 2);
    const quint16 storage = word(table, 4);
    for (quint16 i = 0; i < count; ++i) {
        const qsizetype record = 6 + qsizetype{i} * 12;
        if (record + 12 > table.size()) return std::nullopt;
        if (word(table, record + 6) != postScriptNameId) continue;
        const qsizetype start = qsizetype{storage} + word(table, record + 10);
        const qsizetype length = word(table, record + 8);
        if (length == 0 || start + length > table.size()) continue;
        return recordText(table.mid(start, length), word(table, record));
    }
    return std::nullopt;
}

// usWeightClass of the 'OS/2' table, where the file states its weight on the 100-900 scale.
std::optional<int> weightClass(const QByteArray& table) {
    if (table.size() < 6) return std::nullopt;
    const int weight = word(table, 4);
    if (weight < 1 || weight > 1000) return std::nullopt;
    return weight;
}

}  // namespace

bool DesktopFonts::registerFontsForURL(const std::string& url, int) {
    const QString path = QString::fromStdString(url);
    const int id = QFontDatabase::addApplicationFont(path);
    const QRawFont raw(path, 12);
    const auto name = raw.isValid() ? postScriptName(raw.fontTable("name")) : std::nullopt;
    if (id < 0 || !name) {
        flog("fonts: cannot register " + url + "; its text falls back to the system font");
        return false;
    }
    const auto weight = weightClass(raw.fontTable("OS/2"));
    faces_[*name] = {raw.familyName().toStdString(), weight.value_or(raw.weight())};
    return true;
}

std::optional<platform::Font> DesktopFonts::fontWithName(const std::string& name, double size) {
    const auto found = faces_.find(name);
    if (found == faces_.end()) return std::nullopt;
    return platform::Font{name, size, found->second.weight, false};
}

platform::Font DesktopFonts::systemFont(double size, int weight) {
    const QFont general = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    return {general.family().toStdString(), size, weight, true};
}

// A face this registry does not know is the desktop's interface font at that size.
QFont DesktopFonts::toolkitFont(const platform::Font& font) const {
    const auto found = font.system ? faces_.end() : faces_.find(font.name);
    QFont result = found != faces_.end() ? QFont(QString::fromStdString(found->second.family))
                                         : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    // A point is a pixel on this desktop, as everywhere else in the backend.
    result.setPixelSize(std::max(1, qRound(font.size)));
    result.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 100, 900)));
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

}  // namespace desktop
