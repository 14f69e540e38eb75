#include "platform/sim/SimFontBook.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <memory>

namespace sim {
namespace {

struct LibraryCloser {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceCloser {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using Library = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryCloser>;
using Face = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceCloser>;

Face openFace(FT_Library library, const std::string& path, FT_Long index) {
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), index, &face) != 0) return nullptr;
    return Face(face);
}

// The OS/2 weight class when the file has one; bold style bits otherwise.
int weightOf(FT_Face face) {
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)))
        if (os2->usWeightClass >= 1 && os2->usWeightClass <= 1000) return os2->usWeightClass;
    return (face->style_flags & FT_STYLE_FLAG_BOLD) ? 700 : 400;
}

}  // namespace

std::optional<std::vector<SimFontFace>> SimFontBook::readFaces(const std::string& path) {
    FT_Library raw = nullptr;
    if (FT_Init_FreeType(&raw) != 0) return std::nullopt;
    Library library(raw);
    Face first = openFace(raw, path, 0);
    if (!first) return std::nullopt;
    const FT_Long count = first->num_faces;
    std::vector<SimFontFace> faces;
    for (FT_Long index = 0; index < count; ++index) {
        Face face = index == 0 ? std::move(first) : openFace(raw, path, index);
        if (!face) continue;
        const char* name = FT_Get_Postscript_Name(face.get());
        if (name == nullptr) continue;
        faces.push_back({name, weightOf(face.get())});
    }
    if (faces.empty()) return std::nullopt;
    return faces;
}

bool SimFontBook::registerFile(int32_t pid, const std::string& path) {
    const auto faces = readFaces(path);
    if (!faces) return false;
    for (const auto& face : *faces)
        registered_[pid][face.postScriptName] = face;
    return true;
}

std::optional<SimFontFace> SimFontBook::find(int32_t pid, const std::string& name) const {
    const auto process = registered_.find(pid);
    if (process == registered_.end()) return std::nullopt;
    const auto face = process->second.find(name);
    if (face == process->second.end()) return std::nullopt;
    return face->second;
}

std::vector<std::string> SimFontBook::registeredNames(int32_t pid) const {
    std::vector<std::string> names;
    const auto process = registered_.find(pid);
    if (process == registered_.end()) return names;
    for (const auto& entry : process->second)
        names.push_back(entry.first);
    return names;
}

}  // namespace sim
