#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// A face that a font file declares.
struct SimFontFace {
    std::string postScriptName;
    int weight = 400;  // the file's own weight class, 100 to 900
};

// The faces of font files, read with FreeType, and what each copy has registered.
class SimFontBook {
public:
    static constexpr const char* systemFontName = "system-ui";

    // Every face in the file; nothing when it is no font file.
    static std::optional<std::vector<SimFontFace>> readFaces(const std::string& path);

    bool registerFile(int32_t pid, const std::string& path);
    std::optional<SimFontFace> find(int32_t pid, const std::string& postScriptName) const;
    std::vector<std::string> registeredNames(int32_t pid) const;

private:
    std::map<int32_t, std::map<std::string, SimFontFace>> registered_;
};

}  // namespace sim
