#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/Layer.h"
#include "platform/SampleBufferDisplayLayer.h"
#include "platform/desktop/wayland/WaylandLayerPainter.h"
#include "platform/desktop/wayland/WaylandPanelLook.h"
#include "platform/sim/SimPixelBuffer.h"

namespace {

using desktop::WaylandLayerPainter;
using desktop::WaylandPanelLook;

constexpr double pad = 6;

struct Shape {
    int width;
    int height;
    double border;
    double radius;
    int frameWidth;
    int frameHeight;
};

// A pinned window's panel: a rounded frame with a border, the picture inside it over a
// backdrop, each clipped to its own rounded outline.
struct Panel {
    explicit Panel(const Shape& shape) : shape(shape) {
        root->setFrame({0, 0, double(shape.width), double(shape.height)});
        root->setCornerRadius(shape.radius + pad);
        root->setMasksToBounds(true);
        root->setBorderWidth(shape.border);
        root->setBorderColor(platform::Color::sRGB(0.9, 0.3, 0.1, 1));
        content->setFrame({pad, pad, shape.width - 2 * pad, shape.height - 2 * pad});
        content->setCornerRadius(shape.radius);
        content->setMasksToBounds(true);
        root->addSublayer(content);
        auto backdrop = platform::Layer::make();
        backdrop->setFrame(content->bounds());
        backdrop->setBackgroundColor(platform::Color::sRGB(0.1, 0.2, 0.3, 1));
        content->addSublayer(backdrop);
        video->setFrame(content->bounds());
        content->addSublayer(video);
    }

    // A frame whose every pixel differs from its neighbours, with an alpha that means nothing.
    void show(int seed) {
        auto pixels = std::make_shared<sim::SimPixelBuffer>(shape.frameWidth, shape.frameHeight, 0);
        for (int y = 0; y < shape.frameHeight; ++y)
            for (int x = 0; x < shape.frameWidth; ++x) {
                const uint8_t bgra[4] = {uint8_t(x * 7 + seed), uint8_t(y * 5 + seed),
                                         uint8_t(seed * 3), uint8_t(x * y)};
                std::memcpy(pixels->pixel(x, y), bgra, 4);
            }
        video->sampleBufferRenderer().enqueueSampleBuffer(
            std::make_shared<platform::SampleBuffer>(true, pixels));
    }

    WaylandPanelLook look() const { return WaylandPanelLook(*root, shape.width, shape.height); }

    QImage paintWhole(WaylandLayerPainter& painter) const {
        QImage image(shape.width, shape.height, QImage::Format_ARGB32_Premultiplied);
        image.fill(0x12345678);
        painter.paint(image, *root, look());
        return image;
    }

    Shape shape;
    std::shared_ptr<platform::Layer> root = platform::Layer::make();
    std::shared_ptr<platform::Layer> content = platform::Layer::make();
    std::shared_ptr<platform::SampleBufferDisplayLayer> video =
        std::make_shared<platform::SampleBufferDisplayLayer>();
};

QRgb raw(const QImage& image, int x, int y) {
    return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
}

class WaylandLayerPainterTest : public testing::TestWithParam<Shape> {};

// Only the picture redrawn over the last whole paint must give the whole paint of the new
// frame: the rows copied exactly, the corners and borders blended as before.
void expectPictureLikeWholePaint(Panel& panel) {
    WaylandLayerPainter painter;
    panel.show(1);
    QImage image = panel.paintWhole(painter);
    const QImage first = image.copy();
    panel.show(2);
    const WaylandPanelLook look = panel.look();
    ASSERT_NE(look.picture(), nullptr);
    ASSERT_TRUE(painter.paintPicture(image, *panel.root, look));
    EXPECT_TRUE(painter.drewPicture());

    const QImage whole = panel.paintWhole(painter);
    EXPECT_NE(whole, first);
    EXPECT_EQ(qAlpha(whole.pixel(whole.width() / 2, whole.height() / 2)), 255)
        << "the captured alpha means nothing: the picture is opaque";
    const QRect plain = look.plain();
    for (int y = 0; y < whole.height(); ++y)
        for (int x = 0; x < whole.width(); ++x) {
            const QRgb fast = raw(image, x, y);
            const QRgb slow = raw(whole, x, y);
            if (plain.contains(x, y) && !look.edges().contains(QPoint(x, y))) {
                ASSERT_EQ(fast, slow) << "at " << x << "," << y;
            }
            for (const int shift : {0, 8, 16, 24})  // blends may round the other way
                ASSERT_LE(std::abs(int((fast >> shift) & 0xff) - int((slow >> shift) & 0xff)), 1)
                    << "at " << x << "," << y;
        }
}

TEST_P(WaylandLayerPainterTest, PictureOverEqualLookMatchesWholePaint) {
    Panel panel(GetParam());
    expectPictureLikeWholePaint(panel);
}

// In the middle of a resize the layers may be larger than the panel's buffer.
TEST(WaylandLayerPainterLargerTest, PictureLargerThanThePanelStaysInside) {
    Panel panel({140, 100, 4, 12, 300, 200});
    panel.content->setFrame({pad, pad, 300, 200});
    panel.video->setFrame({0, 0, 300, 200});
    EXPECT_EQ(panel.look().pictureRect(), QRect());  // no frame yet
    panel.show(1);
    EXPECT_EQ(panel.look().pictureRect(), QRect(6, 0, 134, 94));
    expectPictureLikeWholePaint(panel);
}

// What the compositor shows: the panel's buffer over the opaque picture below it.
QImage laidOverPicture(const QImage& over, const WaylandPanelLook& look) {
    QImage seen = over.copy();
    platform::PixelBuffer& frame = *look.sample()->imageBuffer();
    frame.lockBaseAddress(platform::PixelBuffer::readOnly);
    const QRect area = look.pictureRect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QPoint in = QPoint(x, y) - look.pictureOrigin();
            QRgb below;
            std::memcpy(&below, frame.baseAddress() + in.y() * frame.bytesPerRow() + in.x() * 4, 4);
            const QRgb top = raw(over, x, y);
            QRgb mixed = 0xff000000u;
            for (const int shift : {0, 8, 16})
                mixed |= (((top >> shift) & 0xff) +
                          (((below >> shift) & 0xff) * (255 - qAlpha(top)) + 127) / 255)
                         << shift;
            reinterpret_cast<QRgb*>(seen.scanLine(y))[x] = mixed;
        }
    frame.unlockBaseAddress(platform::PixelBuffer::readOnly);
    return seen;
}

bool partlyTransparent(const QImage& image, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qAlpha(raw(image, x, y)) != 255) return true;
    return false;
}

// Laid over a picture shown from below, the panel's frame and corners must look like the
// whole paint of that picture; only a picture that shows partly transparent somewhere (a gap
// between its rounded corners and the frame) cannot be laid over.
TEST_P(WaylandLayerPainterTest, FrameOverThePictureBelowLooksLikeWholePaint) {
    Panel panel(GetParam());
    WaylandLayerPainter painter;
    panel.show(3);
    const WaylandPanelLook look = panel.look();
    const QImage whole = panel.paintWhole(painter);
    QImage over(panel.shape.width, panel.shape.height, QImage::Format_ARGB32_Premultiplied);
    if (!painter.paintOverPicture(over, *panel.root, look)) {
        EXPECT_TRUE(partlyTransparent(whole, look.pictureRect()));
        return;
    }
    EXPECT_EQ(qAlpha(raw(over, look.plain().center().x(), look.plain().center().y())), 0)
        << "the picture shows through";
    const QImage seen = laidOverPicture(over, look);
    for (int y = 0; y < whole.height(); ++y)
        for (int x = 0; x < whole.width(); ++x)
            for (const int shift : {0, 8, 16, 24})
                ASSERT_LE(std::abs(int((raw(seen, x, y) >> shift) & 0xff) -
                                   int((raw(whole, x, y) >> shift) & 0xff)),
                          2)
                    << "at " << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    Frames, WaylandLayerPainterTest,
    testing::Values(Shape{140, 100, 4, 12, 128, 88},   // the usual frame
                    Shape{140, 100, 9, 12, 128, 88},   // a border reaching into the picture
                    Shape{140, 100, 8, 8, 128, 88},    // the program's own frame
                    Shape{140, 100, 4, 12, 90, 60},    // a frame smaller than the window
                    Shape{140, 100, 0, 0, 128, 88},    // no frame, square corners
                    Shape{140, 100, 4, 40, 128, 88}),  // corners larger than the border
    [](const auto& info) { return "shape" + std::to_string(info.index); });

TEST(WaylandPanelLookTest, ChangesWithWhatSurroundsThePicture) {
    Panel panel({140, 100, 4, 12, 128, 88});
    panel.show(1);
    const WaylandPanelLook first = panel.look();
    EXPECT_EQ(first.pictureRect(), QRect(6, 6, 128, 88));
    EXPECT_TRUE(QRect(6, 6, 128, 88).contains(first.plain()));
    EXPECT_FALSE(first.edges().isEmpty());

    panel.show(2);
    EXPECT_EQ(panel.look(), first) << "a new frame of the same size keeps the look";
    panel.root->setBorderColor(platform::Color::sRGB(0.1, 0.8, 0.1, 1));
    EXPECT_NE(panel.look(), first);
    panel.root->setBorderColor(platform::Color::sRGB(0.9, 0.3, 0.1, 1));
    panel.content->setCornerRadius(20);
    EXPECT_NE(panel.look(), first);
    panel.content->setCornerRadius(12);
    panel.shape.frameWidth = 100;
    panel.show(3);
    EXPECT_NE(panel.look(), first);
}

TEST(WaylandPanelLookTest, WholePaintsWhenThePictureIsNotOnTop) {
    Panel panel({140, 100, 4, 12, 128, 88});
    WaylandLayerPainter painter;
    QImage image(140, 100, QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(panel.look().picture(), nullptr) << "no frame yet";
    EXPECT_FALSE(painter.paintPicture(image, *panel.root, panel.look()));

    panel.show(1);
    auto badge = platform::Layer::make();
    badge->setFrame({10, 10, 20, 20});
    badge->setBackgroundColor(platform::Color::white(1));
    panel.content->addSublayer(badge);
    EXPECT_EQ(panel.look().picture(), nullptr);
    EXPECT_FALSE(painter.paintPicture(image, *panel.root, panel.look()));
}

}  // namespace
