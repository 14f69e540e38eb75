#include "platform/desktop/DesktopWindowSurface.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace desktop {
namespace {

// A modifier alone is no key press to the logic; it only changes the next key's flags.
bool isModifierKey(int key) {
    switch (key) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Meta:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_Hyper_L:
        case Qt::Key_Hyper_R:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
        case Qt::Key_ScrollLock:
        case Qt::Key_Mode_switch:
            return true;
        default:
            return false;
    }
}

}  // namespace

void DesktopWindowSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    owner_.paint(painter);
}

void DesktopWindowSurface::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        owner_.pointerPressed(event->position(), event->globalPosition());
}

void DesktopWindowSurface::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) owner_.pointerMoved(event->globalPosition());
}

void DesktopWindowSurface::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) owner_.pointerReleased(event->position());
}

void DesktopWindowSurface::keyPressEvent(QKeyEvent* event) {
    if (isModifierKey(event->key())) return;
    owner_.keyPressed(event->nativeScanCode(), event->nativeVirtualKey(), event->nativeModifiers());
}

void DesktopWindowSurface::exposeEvent(QExposeEvent* event) {
    QRasterWindow::exposeEvent(event);
    if (isExposed()) owner_.exposed();
}

void DesktopWindowSurface::moveEvent(QMoveEvent* event) {
    QRasterWindow::moveEvent(event);
    owner_.moved();
}

}  // namespace desktop
