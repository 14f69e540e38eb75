#pragma once

#include <memory>
#include <string>

#include "platform/Color.h"
#include "platform/Font.h"
#include "platform/View.h"

namespace platform {

// A line of text; labelWithString gives the read-only, unframed kind.
class TextField : public View {
public:
    static std::shared_ptr<TextField> labelWithString(const std::string& text);
    using View::View;

    const std::string& stringValue() const { return stringValue_; }
    void setStringValue(const std::string& text) { stringValue_ = text; }
    const Font& font() const { return font_; }
    void setFont(const Font& font) { font_ = font; }
    Color textColor() const { return textColor_; }
    void setTextColor(const Color& color) { textColor_ = color; }

    bool isEditable() const { return editable_; }
    void setEditable(bool flag) { editable_ = flag; }
    bool isSelectable() const { return selectable_; }
    void setSelectable(bool flag) { selectable_ = flag; }
    bool isBordered() const { return bordered_; }
    void setBordered(bool flag) { bordered_ = flag; }
    bool drawsBackground() const { return drawsBackground_; }
    void setDrawsBackground(bool flag) { drawsBackground_ = flag; }

private:
    std::string stringValue_;
    Font font_{"System", 13, FontWeight::regular, true};
    Color textColor_ = Color::black();
    bool editable_ = true;
    bool selectable_ = true;
    bool bordered_ = true;
    bool drawsBackground_ = true;
};

inline std::shared_ptr<TextField> TextField::labelWithString(const std::string& text) {
    auto label = std::make_shared<TextField>();
    label->setStringValue(text);
    label->setEditable(false);
    label->setSelectable(false);
    label->setBordered(false);
    label->setDrawsBackground(false);
    return label;
}

}  // namespace platform
