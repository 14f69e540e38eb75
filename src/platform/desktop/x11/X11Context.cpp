#include "platform/desktop/x11/X11Context.h"

#include "platform/desktop/x11/X11WindowModel.h"

namespace desktop {

X11Context::X11Context(std::shared_ptr<X11Connection> main, std::string displayName)
    : main_(std::move(main)),
      displayName_(std::move(displayName)),
      windows_(std::make_unique<X11WindowModel>(*this)) {}

X11Context::~X11Context() = default;

std::shared_ptr<X11Connection> X11Context::openConnection() const {
    return X11Connection::open(displayName_);
}

}  // namespace desktop
