#pragma once

#include "platform/Geometry.h"

namespace platform {

// An image the desktop can draw. Shared: whoever set it on a control shares its changes.
class Image {
public:
    virtual ~Image() = default;

    virtual Size size() const = 0;  // points
    virtual bool isTemplate() const = 0;
    // A template image is drawn in the menu bar's own colour; only its alpha counts.
    virtual void setTemplate(bool isTemplate) = 0;
};

}  // namespace platform
