#pragma once

#include <set>
#include <string>

#include "platform/Bundle.h"
#include "platform/Images.h"

namespace desktop {

// Images read and drawn by the toolkit. Symbols come from the desktop's icon theme where it
// has a fitting icon, else from small pictures of our own among the resources (Symbols/).
class DesktopImages : public platform::Images {
public:
    explicit DesktopImages(platform::Bundle& bundle) : bundle_(bundle) {}

    std::shared_ptr<platform::Image> contentsOfFile(const std::string& url) override;
    std::shared_ptr<platform::Image> named(const std::string& name) override;
    std::shared_ptr<platform::Image> systemSymbol(
        const std::string& name, const std::optional<std::string>& description) override;
    std::shared_ptr<platform::Image> drawing(platform::Size size,
                                             const std::shared_ptr<platform::Image>& source,
                                             platform::Rect into, platform::Rect from,
                                             platform::CompositingOperation operation,
                                             double fraction) override;

private:
    std::shared_ptr<platform::Image> ownSymbol(const std::string& file);
    void reportOnce(const std::string& message);

    platform::Bundle& bundle_;
    std::set<std::string> reported_;  // one log line per faulty file, not one per menu opening
};

}  // namespace desktop
