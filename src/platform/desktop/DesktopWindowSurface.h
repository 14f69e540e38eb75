#pragma once

#include <QRasterWindow>

class QPainter;

namespace desktop {

// The toolkit's window under a DesktopWindow: it paints, and hands pointer and key input
// on. Raw key codes, the keysym of the layout in use and modifier state go with each key,
// since the logic's key codes are made from them.
class DesktopWindowSurface : public QRasterWindow {
public:
    class Owner {
    public:
        virtual ~Owner() = default;
        virtual void paint(QPainter& painter) = 0;
        virtual void pointerPressed(const QPointF& local, const QPointF& global) = 0;
        virtual void pointerMoved(const QPointF& global) = 0;
        virtual void pointerReleased(const QPointF& local) = 0;
        virtual void keyPressed(uint32_t keycode, uint32_t keysym, uint32_t state) = 0;
        virtual void exposed() = 0;
        virtual void moved() = 0;
    };

    explicit DesktopWindowSurface(Owner& owner) : owner_(owner) {}

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void exposeEvent(QExposeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    Owner& owner_;
};

}  // namespace desktop
