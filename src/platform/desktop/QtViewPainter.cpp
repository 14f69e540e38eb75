#include "platform/desktop/QtViewPainter.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

#include "platform/Button.h"
#include "platform/Platform.h"
#include "platform/TextField.h"
#include "platform/VisualEffectView.h"
#include "platform/desktop/DesktopFonts.h"
#include "platform/desktop/QtLayerAnimations.h"
#include "platform/desktop/QtViewTree.h"

namespace desktop {
namespace {

QColor qtColor(const platform::Color& color) {
    return QColor::fromRgbF(
        float(std::clamp(color.red, 0.0, 1.0)), float(std::clamp(color.green, 0.0, 1.0)),
        float(std::clamp(color.blue, 0.0, 1.0)), float(std::clamp(color.alpha, 0.0, 1.0)));
}

// The fonts the program registered, by the family their files declare; the desktop's own
// font where no registry is at hand.
QFont qtFont(const platform::Font& font) {
    if (const auto* fonts = dynamic_cast<const DesktopFonts*>(&platform::fonts()))
        return fonts->toolkitFont(font);
    return DesktopFonts().toolkitFont(font);
}

QPainterPath roundedPath(const QRectF& rect, double radius) {
    QPainterPath path;
    const double r = std::min({radius, rect.width() / 2, rect.height() / 2});
    if (r > 0) {
        path.addRoundedRect(rect, r, r);
    } else {
        path.addRect(rect);
    }
    return path;
}

// The dark glass of a heads-up panel: see-through over a compositing desktop, solid where
// the desktop would show black instead.
QColor glassColor(bool translucent) {
    return translucent ? QColor(26, 27, 31, 214) : QColor(34, 35, 40);
}

}  // namespace

void QtViewPainter::paint(QPainter& painter, const platform::View& root) const {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const platform::Rect frame = root.frame();
    paintView(painter, root, QRectF(0, 0, frame.width, frame.height));
}

void QtViewPainter::paintView(QPainter& painter, const platform::View& view,
                              const QRectF& rect) const {
    const auto layer = view.layer();
    painter.save();
    if (layer) applyAnimation(painter, *layer, rect);
    const QPainterPath shape = roundedPath(rect, layer ? layer->cornerRadius() : 0);
    if (dynamic_cast<const platform::VisualEffectView*>(&view) != nullptr)
        painter.fillPath(shape, glassColor(translucent_));
    if (layer && layer->backgroundColor())
        painter.fillPath(shape, qtColor(*layer->backgroundColor()));
    paintContent(painter, view, rect, shape);
    painter.save();
    if (layer && layer->masksToBounds()) painter.setClipPath(shape, Qt::IntersectClip);
    for (const auto& subview : view.subviews())
        paintView(painter, *subview, QtViewTree::placed(rect, subview->frame()));
    painter.restore();
    if (layer) paintBorder(painter, *layer, rect);
    painter.restore();
}

// Scale pops about the layer's centre, as a layer's anchor lies there by default.
void QtViewPainter::applyAnimation(QPainter& painter, const platform::Layer& layer,
                                   const QRectF& rect) const {
    const double scale = animations_.scale(layer, now_);
    if (scale != 1) {
        painter.translate(rect.center());
        painter.scale(scale, scale);
        painter.translate(-rect.center());
    }
    painter.setOpacity(painter.opacity() * std::clamp(animations_.opacity(layer, now_), 0.0, 1.0));
}

void QtViewPainter::paintContent(QPainter& painter, const platform::View& view, const QRectF& rect,
                                 const QPainterPath& shape) const {
    if (const auto* label = dynamic_cast<const platform::TextField*>(&view)) {
        if (label->drawsBackground()) painter.fillPath(shape, Qt::white);
        painter.setFont(qtFont(label->font()));
        painter.setPen(qtColor(label->textColor()));
        painter.drawText(rect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromStdString(label->stringValue()));
        return;
    }
    const auto* button = dynamic_cast<const platform::Button*>(&view);
    if (button == nullptr) return;
    if (button->isBordered()) {
        painter.fillPath(roundedPath(rect.adjusted(1, 1, -1, -1), 5), QColor(255, 255, 255, 40));
    }
    painter.setFont(qtFont(button->font()));
    painter.setPen(qtColor(button->contentTintColor().value_or(platform::Color::white(1))));
    painter.drawText(rect, Qt::AlignCenter, QString::fromStdString(button->title()));
}

// Inside the layer's edge, over its content, as a layer's border lies.
void QtViewPainter::paintBorder(QPainter& painter, const platform::Layer& layer,
                                const QRectF& rect) {
    const double width = layer.borderWidth();
    if (width <= 0 || layer.borderColor().alpha <= 0) return;
    const double half = width / 2;
    const QPainterPath edge = roundedPath(rect.adjusted(half, half, -half, -half),
                                          std::max(layer.cornerRadius() - half, 0.0));
    painter.strokePath(edge, QPen(qtColor(layer.borderColor()), width));
}

}  // namespace desktop
