#include "app/Log.h"

#include <ctime>

#include "platform/Platform.h"

namespace {

// Control characters come escaped, so that one call is always one line whatever a window
// or application name holds; printable text and UTF-8 pass unchanged.
void appendEscaped(std::string& record, std::string_view message) {
    static constexpr char digits[] = "0123456789ABCDEF";
    for (const char c : message) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            record.push_back(c);
        } else if (c == '\n') {
            record.append("\\n");
        } else if (c == '\t') {
            record.append("\\t");
        } else if (c == '\r') {
            record.append("\\r");
        } else {
            record.append("\\x").push_back(digits[byte >> 4]);
            record.push_back(digits[byte & 0xF]);
        }
    }
}

// The longest head of the text within the limit that does not split a UTF-8 sequence,
// followed by an ellipsis when anything was left out.
std::string clip(std::string_view text, size_t limit) {
    if (text.size() <= limit) return std::string(text);
    size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(text.substr(0, cut)) + "\u2026";
}

}  // namespace

std::string logValue(std::string_view text) {
    return clip(text, logValueLimit);
}

std::string logRecord(std::chrono::system_clock::time_point when, std::string_view message) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char stamp[40];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S +0000", &utc);
    std::string record;
    const std::string kept = clip(message, logMessageLimit);
    record.reserve(kept.size() + 32);
    record.append("[").append(stamp).append("] ");
    appendEscaped(record, kept);
    record.push_back('\n');
    return record;
}

void flog(std::string_view message) {
    if (!platform::isInstalled()) return;
    const std::string record = logRecord(platform::clock().now(), message);
    platform::files().appendRecord(logPath, record);
}
