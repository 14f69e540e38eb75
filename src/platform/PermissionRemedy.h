#pragma once

#include <string>
#include <utility>

namespace platform {

// What the user does to be granted a permission on a desktop that has no settings page for
// it; the logic words it in the interface's language.
struct PermissionRemedy {
    enum class Kind {
        // Start `program` from the Exec= of a desktop entry like `entry`, saved in `folder`,
        // once `refresh` has reread the entries.
        desktopEntry,
        // The compositor grants it to no program; `missing` names what it lacks.
        otherCompositor,
        // Start a window manager that follows EWMH.
        windowManager,
        // The X server lacks the extensions named in `missing`.
        serverExtensions,
    };

    Kind kind = Kind::desktopEntry;
    std::string program;
    std::string entry;
    std::string folder;
    std::string refresh;
    std::string missing;

    // A remedy that names only what is missing, if anything.
    static PermissionRemedy of(Kind kind, std::string missing = {}) {
        PermissionRemedy remedy;
        remedy.kind = kind;
        remedy.missing = std::move(missing);
        return remedy;
    }

    bool operator==(const PermissionRemedy&) const = default;
};

}  // namespace platform
