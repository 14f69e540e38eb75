#include "platform/desktop/QtViewTree.h"

#include "platform/View.h"

namespace desktop {
namespace {

std::shared_ptr<platform::View> viewIn(const std::shared_ptr<platform::View>& view,
                                       const QRectF& rect, const QPointF& point) {
    if (!rect.contains(point)) return nullptr;
    const auto& subviews = view->subviews();
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it)
        if (auto hit = viewIn(*it, QtViewTree::placed(rect, (*it)->frame()), point)) return hit;
    return view;
}

}  // namespace

QRectF QtViewTree::placed(const QRectF& parent, const platform::Rect& frame) {
    return {parent.x() + frame.x, parent.y() + parent.height() - frame.y - frame.height,
            frame.width, frame.height};
}

std::shared_ptr<platform::View> QtViewTree::viewAt(const std::shared_ptr<platform::View>& root,
                                                   const QPointF& point) {
    if (!root) return nullptr;
    const platform::Rect frame = root->frame();
    return viewIn(root, QRectF(0, 0, frame.width, frame.height), point);
}

}  // namespace desktop
