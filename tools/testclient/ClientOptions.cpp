#include "ClientOptions.h"

#include <cctype>
#include <functional>
#include <map>

namespace {

std::optional<int> parseInt(const std::string& text) {
    try {
        size_t used = 0;
        const int value = std::stoi(text, &used);
        if (used == text.size()) return value;
    } catch (...) {
    }
    return std::nullopt;
}

// "A,B" or "AxB" into two integers.
bool parsePair(const std::string& text, char separator, int& first, int& second) {
    const auto split = text.find(separator);
    if (split == std::string::npos) return false;
    const auto a = parseInt(text.substr(0, split));
    const auto b = parseInt(text.substr(split + 1));
    if (!a || !b) return false;
    first = *a;
    second = *b;
    return true;
}

bool parseExtents(const std::string& text, ClientOptions::Extents& extents) {
    int values[4];
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const auto end = text.find(',', start);
        if ((i < 3) == (end == std::string::npos)) return false;
        const auto value = parseInt(text.substr(start, end - start));
        if (!value || *value < 0) return false;
        values[i] = *value;
        start = end + 1;
    }
    extents = {values[0], values[1], values[2], values[3]};
    return true;
}

using ValueOption = std::function<bool(ClientOptions&, const std::string&)>;

const std::map<std::string, ValueOption>& valueOptions() {
    static const std::map<std::string, ValueOption> table = {
        {"--size",
         [](ClientOptions& o, const std::string& v) {
             return parsePair(v, 'x', o.width, o.height) && o.width > 0 && o.height > 0;
         }},
        {"--position",
         [](ClientOptions& o, const std::string& v) {
             int x = 0, y = 0;
             if (!parsePair(v, ',', x, y)) return false;
             o.x = x;
             o.y = y;
             return true;
         }},
        {"--color",
         [](ClientOptions& o, const std::string& v) {
             const auto color = parseColor(v);
             if (color) o.color = *color;
             return color.has_value();
         }},
        {"--title", [](ClientOptions& o, const std::string& v) { return o.title = v, true; }},
        {"--class", [](ClientOptions& o, const std::string& v) { return o.wmClass = v, true; }},
        {"--grab-key", [](ClientOptions& o, const std::string& v) { return o.grabKey = v, true; }},
        {"--gtk-extents",
         [](ClientOptions& o, const std::string& v) {
             ClientOptions::Extents extents;
             if (!parseExtents(v, extents)) return false;
             o.gtkExtents = extents;
             return true;
         }},
        {"--own-margin",
         [](ClientOptions& o, const std::string& v) {
             ClientOptions::Extents extents;
             if (!parseExtents(v, extents)) return false;
             o.ownMargin = extents;
             return true;
         }},
        {"--pixel",
         [](ClientOptions& o, const std::string& v) {
             ClientOptions::Point at;
             if (!parsePair(v, ',', at.x, at.y)) return false;
             o.pixel = at;
             return true;
         }},
        {"--screenshot",
         [](ClientOptions& o, const std::string& v) { return o.screenshot = v, true; }},
        {"--display", [](ClientOptions& o, const std::string& v) { return o.display = v, true; }},
    };
    return table;
}

bool parseFlag(const std::string& arg, ClientOptions& options) {
    if (arg == "--no-pid") {
        options.setPid = false;
    } else if (arg == "--override-redirect") {
        options.overrideRedirect = true;
    } else if (arg == "--argb") {
        options.argb = true;
    } else if (arg == "--no-input") {
        options.noInput = true;
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::optional<uint32_t> parseColor(const std::string& text) {
    const std::string digits = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    if (digits.size() != 6) return std::nullopt;
    for (const char c : digits)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    return static_cast<uint32_t>(std::stoul(digits, nullptr, 16));
}

bool ClientOptions::parse(const std::vector<std::string>& args, ClientOptions& options,
                          std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (parseFlag(args[i], options)) continue;
        const auto found = valueOptions().find(args[i]);
        if (found == valueOptions().end()) {
            error = "unknown option " + args[i];
            return false;
        }
        if (i + 1 >= args.size() || !found->second(options, args[i + 1])) {
            error = "bad value for " + args[i];
            return false;
        }
        ++i;
    }
    return true;
}

const char* ClientOptions::usage() {
    return "usage: veltrin_test_client [--size WxH] [--position X,Y] [--color RRGGBB]\n"
           "         [--title T] [--class C] [--no-pid] [--override-redirect] [--argb]\n"
           "         [--no-input] [--gtk-extents L,R,T,B] [--own-margin L,R,T,B]\n"
           "         [--display D]\n"
           "       veltrin_test_client --grab-key alt+p [--display D]\n"
           "       veltrin_test_client --screenshot FILE.png [--display D]\n"
           "       veltrin_test_client --pixel X,Y [--display D]   (prints RRGGBB)\n"
           "commands on stdin: color RRGGBB | patch X Y W H RRGGBB | move X Y | resize W H\n"
           "                   | iconify | map | unmap | raise | close | animate FPS SECONDS | "
           "quit\n";
}
