#include <gtest/gtest.h>
#include <xcb/composite.h>

#include <atomic>
#include <future>
#include <memory>
#include <thread>

#include "desktop/CaptureRecorder.h"
#include "desktop/CaptureTestWindow.h"
#include "desktop/HeadlessDesktop.h"
#include "platform/desktop/x11/X11Connection.h"
#include "platform/desktop/x11/X11Context.h"
#include "platform/desktop/x11/X11Services.h"
#include "platform/desktop/x11/X11WindowFrame.h"

namespace {

using namespace std::chrono_literals;
using Record = CaptureRecord;

constexpr uint32_t blue = 0x2060c0;
constexpr uint32_t orange = 0xe08020;
constexpr uint32_t green = 0x20c040;

// The outcome of a start or stop, and whether it came on the caller's thread.
struct Outcome {
    std::optional<platform::PlatformError> error;
    bool onCallerThread = true;
};

class CaptureStreamTest : public testing::Test {
protected:
    static void SetUpTestSuite() { desktop_ = std::make_unique<HeadlessDesktop>(); }
    static void TearDownTestSuite() { desktop_.reset(); }

    void SetUp() override {
        ASSERT_NE(desktop_, nullptr) << "no headless desktop";
        auto main = desktop::X11Connection::open(display());
        ASSERT_NE(main, nullptr);
        context_ = std::make_unique<desktop::X11Context>(main, display());
        streams_ = desktop::makeCaptureStreams(*context_);
    }

    static const std::string& display() { return desktop_->display(); }

    std::unique_ptr<CaptureTestWindow> shownWindow(CaptureTestWindow::Options options = {}) {
        auto window = std::make_unique<CaptureTestWindow>(display(), options);
        EXPECT_TRUE(window->show());
        return window;
    }

    std::shared_ptr<platform::Stream> createStream(
        xcb_window_t window, const std::shared_ptr<CaptureRecorder>& recorder) {
        platform::SCWindow scWindow;
        scWindow.windowID = window;
        scWindow.frame = {40, 60, 160, 120};
        const platform::ContentFilter filter = streams_->desktopIndependentWindowFilter(scWindow);
        platform::StreamConfiguration configuration;
        configuration.minimumFrameInterval = {1, 120};
        auto stream = streams_->createStream(filter, configuration, recorder);
        EXPECT_EQ(stream->addStreamOutput(recorder, platform::StreamOutputType::screen),
                  std::nullopt);
        return stream;
    }

    static Outcome await(const std::function<void(platform::Stream::Completion)>& call) {
        auto promise = std::make_shared<std::promise<Outcome>>();
        const auto caller = std::this_thread::get_id();
        call([promise, caller](std::optional<platform::PlatformError> error) {
            promise->set_value({std::move(error), std::this_thread::get_id() == caller});
        });
        auto future = promise->get_future();
        if (future.wait_for(10s) != std::future_status::ready)
            return {platform::PlatformError{-1, "no completion within 10 s"}, false};
        return future.get();
    }

    static Outcome start(platform::Stream& stream) {
        return await([&](auto completion) { stream.startCapture(std::move(completion)); });
    }
    static Outcome stop(platform::Stream& stream) {
        return await([&](auto completion) { stream.stopCapture(std::move(completion)); });
    }

    std::shared_ptr<platform::Stream> started(xcb_window_t window,
                                              const std::shared_ptr<CaptureRecorder>& recorder) {
        auto stream = createStream(window, recorder);
        const Outcome outcome = start(*stream);
        EXPECT_EQ(outcome.error, std::nullopt) << outcome.error->description;
        EXPECT_FALSE(outcome.onCallerThread);
        return stream;
    }

    static auto shows(uint32_t colour) {
        return [colour](const Record& r) { return r.frames > 0 && r.centre == bgra(colour); };
    }

    static inline std::unique_ptr<HeadlessDesktop> desktop_;
    std::unique_ptr<desktop::X11Context> context_;
    std::unique_ptr<platform::CaptureStreams> streams_;
};

// The number of frames once none came for a while: a frame taken just before the stream
// heard of a change may still be on its way.
int framesOnceQuiet(CaptureRecorder& recorder) {
    int frames = recorder.record().frames;
    for (auto deadline = std::chrono::steady_clock::now() + 5s;
         std::chrono::steady_clock::now() < deadline;) {
        if (!recorder.waitUntil([&](const Record& r) { return r.frames > frames; }, 200ms)) break;
        frames = recorder.record().frames;
    }
    return frames;
}

TEST_F(CaptureStreamTest, FramesShowTheWindowOpaqueAndFollowItsColour) {
    auto window = shownWindow();
    auto recorder = std::make_shared<CaptureRecorder>();
    auto stream = started(window->id(), recorder);
    window->paint(blue);
    ASSERT_TRUE(recorder->waitUntil(shows(blue)));
    const Record first = recorder->record();
    EXPECT_EQ(first.width, 160u);
    EXPECT_EQ(first.height, 120u);
    EXPECT_TRUE(first.opaque) << "a depth-24 window must read with alpha 255";
    EXPECT_EQ(first.topLeft, bgra(blue));
    EXPECT_EQ(first.bottomRight, bgra(blue));

    window->paint(orange);
    EXPECT_TRUE(recorder->waitUntil(shows(orange)));
    EXPECT_FALSE(stop(*stream).onCallerThread);
    EXPECT_EQ(recorder->record().errors, 0);
}

// A client frame drawn in several requests, each growing what changed, is delivered once
// (not once for its first request and again for the rest), and shows whole.
TEST_F(CaptureStreamTest, AFrameDrawnInPartsComesAsOneFrame) {
    CaptureTestWindow::Options large;
    large.width = 1200;
    large.height = 800;
    auto window = shownWindow(large);
    auto recorder = std::make_shared<CaptureRecorder>();
    auto stream = started(window->id(), recorder);
    window->paint(blue);
    ASSERT_TRUE(recorder->waitUntil(shows(blue)));
    const int before = framesOnceQuiet(*recorder);
    constexpr int paints = 10;
    for (int paint = 0; paint < paints; ++paint) {
        window->paintCornerFirst(paint % 2 == 0 ? orange : green);
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_TRUE(recorder->waitUntil([](const Record& r) {
        return r.topLeft == bgra(green) && r.centre == bgra(green) && r.bottomRight == bgra(green);
    }));
    EXPECT_LE(framesOnceQuiet(*recorder) - before, paints + 1);
}

// A window that stays idle still gets a first frame: the stream asks it to repaint.
TEST_F(CaptureStreamTest, IdleWindowIsAskedToRepaint) {
    auto window = shownWindow();
    window->paint(green);
    auto recorder = std::make_shared<CaptureRecorder>();
    auto stream = started(window->id(), recorder);
    bool exposed = false;
    bool shown = false;
    for (auto deadline = std::chrono::steady_clock::now() + 10s;
         !shown && std::chrono::steady_clock::now() < deadline;) {
        exposed = window->repaintIfExposed() || exposed;
        shown = recorder->waitUntil(shows(green), 20ms);
    }
    EXPECT_TRUE(shown);
    EXPECT_TRUE(exposed);
    stop(*stream);
}

TEST_F(CaptureStreamTest, PictureLeavesOutTheClientShadowMargins) {
    CaptureTestWindow::Options options;
    options.extents = {10, 6, 14, 4};  // left, right, top, bottom
    auto window = shownWindow(options);
    auto recorder = std::make_shared<CaptureRecorder>();
    auto stream = started(window->id(), recorder);
    window->paint(blue, green);
    ASSERT_TRUE(recorder->waitUntil(shows(blue)));
    const Record record = recorder->record();
    EXPECT_EQ(record.width, 160u - 16);
    EXPECT_EQ(record.height, 120u - 18);
    EXPECT_EQ(record.topLeft, bgra(blue)) << "a margin pixel left in";
    EXPECT_EQ(record.bottomRight, bgra(blue)) << "a margin pixel left in";
    stop(*stream);
}

TEST_F(CaptureStreamTest, PictureOfAWindowWithABorderIncludesTheBorder) {
    CaptureTestWindow::Options options;
    options.overrideRedirect = true;
    options.border = 5;
    options.borderColour = orange;
    auto window = shownWindow(options);
    auto recorder = std::make_shared<CaptureRecorder>();
    auto stream = started(window->id(), recorder);
    window->paint(blue);
    ASSERT_TRUE(recorder->waitUntil(shows(blue)));
    const Record record = recorder->record();
    EXPECT_EQ(record.width, 170u);
    EXPECT_EQ(record.height, 130u);
    EXPECT_EQ(record.topLeft, bgra(orange));
    EXPECT_EQ(record.bottomRight, bgra(orange));
    stop(*stream);
}

TEST_F(CaptureStreamTest, ResizedWindowGivesFramesOfItsNewSize) {
    auto window = shownWindow();
    auto recorder = std::make_shared<CaptureRecorder>();
    auto stream = started(window->id(), recorder);
    window->paint(blue);
    ASSERT_TRUE(recorder->waitUntil(shows(blue)));
    window->resize(240, 90);
    int width = 0, height = 0;
    bool viewable = false;
    for (auto deadline = std::chrono::steady_clock::now() + 10s;
         (width != 240 || height != 90) && std::chrono::steady_clock::now() < deadline;)
        window->frameGeometry(width, height, viewable);
    window->paint(orange);
    EXPECT_TRUE(recorder->waitUntil([](const Record& r) {
        return r.width == 240 && r.height == 90 && r.centre == bgra(orange) &&
               r.bottomRight == bgra(orange);
    }));
    stop(*stream);
}

TEST_F(CaptureStreamTest, MinimisedWindowPausesWithoutErrorAndResumesWhenRestored) {
    auto window = shownWindow();
    auto recorder = std::make_shared<CaptureRecorder>();
    auto stream = started(window->id(), recorder);
    window->paint(blue);
    ASSERT_TRUE(recorder->waitUntil(shows(blue)));

    window->iconify();
    int width = 0, height = 0;
    bool viewable = true;
    for (auto deadline = std::chrono::steady_clock::now() + 10s;
         viewable && std::chrono::steady_clock::now() < deadline;)
        window->frameGeometry(width, height, viewable);
    ASSERT_FALSE(viewable);
    const int framesWhenHidden = framesOnceQuiet(*recorder);
    window->paint(orange);
    EXPECT_FALSE(recorder->waitUntil(
        [&](const Record& r) { return r.frames > framesWhenHidden || r.errors > 0; }, 300ms))
        << "a hidden window sent a frame or an error";

    window->activate();
    for (auto deadline = std::chrono::steady_clock::now() + 10s;
         !viewable && std::chrono::steady_clock::now() < deadline;)
        window->frameGeometry(width, height, viewable);
    ASSERT_TRUE(viewable);
    bool resumed = false;
    for (auto deadline = std::chrono::steady_clock::now() + 10s;
         !resumed && std::chrono::steady_clock::now() < deadline;) {
        window->paint(orange);
        resumed = recorder->waitUntil(shows(orange), 50ms);
    }
    EXPECT_TRUE(resumed);
    EXPECT_EQ(recorder->record().errors, 0);
    stop(*stream);
}

// A program that unmaps its window loses the frame around it; mapped again, it gets a new
// one, and the stream follows it there.
TEST_F(CaptureStreamTest, WithdrawnWindowPausesAndResumesInItsNewFrame) {
    auto window = shownWindow();
    auto recorder = std::make_shared<CaptureRecorder>();
    auto stream = started(window->id(), recorder);
    window->paint(blue);
    ASSERT_TRUE(recorder->waitUntil(shows(blue)));
    window->withdraw();
    const int framesWhenHidden = framesOnceQuiet(*recorder);
    window->paint(orange);
    EXPECT_FALSE(recorder->waitUntil(
        [&](const Record& r) { return r.frames > framesWhenHidden || r.errors > 0; }, 300ms));
    ASSERT_TRUE(window->show());
    bool resumed = false;
    for (auto deadline = std::chrono::steady_clock::now() + 10s;
         !resumed && std::chrono::steady_clock::now() < deadline;) {
        window->paint(orange);
        resumed = recorder->waitUntil(shows(orange), 50ms);
    }
    EXPECT_TRUE(resumed);
    EXPECT_EQ(recorder->record().errors, 0);
    stop(*stream);
}

// Whenever the window goes, during the start or after it, the stream ends with a clear
// outcome: a failed start, or one error.
TEST_F(CaptureStreamTest, WindowVanishingAtAnyMomentEndsTheStreamCleanly) {
    for (int delay = 0; delay < 16; ++delay) {
        auto window = shownWindow();
        auto recorder = std::make_shared<CaptureRecorder>();
        auto stream = createStream(window->id(), recorder);
        auto promise = std::make_shared<std::promise<std::optional<platform::PlatformError>>>();
        stream->startCapture([promise](auto error) { promise->set_value(std::move(error)); });
        std::this_thread::sleep_for(
            std::chrono::milliseconds(delay));  // a different moment each time
        window->destroy();
        auto future = promise->get_future();
        ASSERT_EQ(future.wait_for(10s), std::future_status::ready);
        if (!future.get().has_value()) {
            EXPECT_TRUE(recorder->waitUntil([](const Record& r) { return r.errors == 1; }));
        }
        EXPECT_EQ(stop(*stream).error, std::nullopt);
        EXPECT_LE(recorder->record().errors, 1);
    }
}

TEST_F(CaptureStreamTest, DestroyedWindowStopsTheStreamWithOneError) {
    auto window = shownWindow();
    auto recorder = std::make_shared<CaptureRecorder>();
    auto stream = started(window->id(), recorder);
    window->paint(blue);
    ASSERT_TRUE(recorder->waitUntil(shows(blue)));
    const xcb_window_t id = window->id();
    window->destroy();
    ASSERT_TRUE(recorder->waitUntil([](const Record& r) { return r.errors > 0; }));
    const Outcome stopped = stop(*stream);
    EXPECT_EQ(stopped.error, std::nullopt);
    EXPECT_FALSE(stopped.onCallerThread);
    const Record record = recorder->record();
    EXPECT_EQ(record.errors, 1);
    char expected[64];
    std::snprintf(expected, sizeof expected, "capture: window 0x%x is gone", id);
    EXPECT_EQ(record.error, expected);
}

TEST_F(CaptureStreamTest, StartFailsForAWindowThatIsGone) {
    auto window = shownWindow();
    const xcb_window_t id = window->id();
    window->destroy();
    for (xcb_window_t gone : {id, xcb_window_t{0x7fffff}}) {
        auto recorder = std::make_shared<CaptureRecorder>();
        auto stream = createStream(gone, recorder);
        const Outcome outcome = start(*stream);
        ASSERT_TRUE(outcome.error.has_value());
        EXPECT_NE(outcome.error->description.find("is gone"), std::string::npos)
            << outcome.error->description;
        EXPECT_FALSE(outcome.onCallerThread);
        EXPECT_EQ(recorder->record().errors, 0) << "a failed start is no stop";
        EXPECT_FALSE(stop(*stream).onCallerThread);
    }
}

// The pixmap stays with the frames that hold it, after the stream has ended too.
TEST_F(CaptureStreamTest, FramePixmapLivesUntilTheLastFrameGoes) {
    auto window = shownWindow();
    auto recorder = std::make_shared<CaptureRecorder>();
    auto stream = started(window->id(), recorder);
    window->paint(blue);
    ASSERT_TRUE(recorder->waitUntil(shows(blue)));
    std::shared_ptr<platform::SampleBuffer> held = recorder->record().last;
    stop(*stream);
    stream = nullptr;
    const auto* frame = dynamic_cast<const desktop::X11WindowFrame*>(held->imageBuffer());
    ASSERT_NE(frame, nullptr);
    const xcb_pixmap_t pixmap = frame->lease()->pixmap();
    auto probe = desktop::X11Connection::open(display());
    const auto exists = [&] {
        xcb_connection_t* c = probe->get();
        return desktop::xreply(xcb_get_geometry_reply(c, xcb_get_geometry(c, pixmap), nullptr)) !=
               nullptr;
    };
    EXPECT_TRUE(exists());
    held = nullptr;
    recorder->forgetLastFrame();
    bool freed = false;
    for (auto deadline = std::chrono::steady_clock::now() + 5s;
         !freed && std::chrono::steady_clock::now() < deadline;)
        freed = !exists();
    EXPECT_TRUE(freed);
}

// Whether the window is redirected now: only then can a pixmap be named for it.
bool redirected(desktop::X11Connection& connection, xcb_window_t window) {
    xcb_connection_t* c = connection.get();
    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    const xcb_window_t frame = desktop::topLevelOf(connection, window);
    xcb_generic_error_t* error =
        xcb_request_check(c, xcb_composite_name_window_pixmap_checked(c, frame, pixmap));
    if (error == nullptr) xcb_free_pixmap(c, pixmap);
    std::free(error);
    return error == nullptr;
}

TEST_F(CaptureStreamTest, StoppedOrDroppedStreamGivesTheWindowBack) {
    auto window = shownWindow();
    auto probe = desktop::X11Connection::open(display());
    for (bool dropped : {false, true}) {
        auto recorder = std::make_shared<CaptureRecorder>(false);
        auto stream = started(window->id(), recorder);
        EXPECT_TRUE(redirected(*probe, window->id()));
        if (dropped)
            stream = nullptr;
        else
            stop(*stream);
        bool givenBack = false;
        for (auto deadline = std::chrono::steady_clock::now() + 5s;
             !givenBack && std::chrono::steady_clock::now() < deadline;)
            givenBack = !redirected(*probe, window->id());
        EXPECT_TRUE(givenBack) << (dropped ? "dropped" : "stopped");
    }
}

// Stops its stream from inside the fifth frame.
struct StopFromFrame {
    void arm(const std::shared_ptr<platform::Stream>& stream) {
        std::lock_guard lock(mutex);
        armed = stream;
    }
    void frame() {
        std::shared_ptr<platform::Stream> stream;
        {
            std::lock_guard lock(mutex);
            if (++frames != 5) return;
            stream = armed.lock();
        }
        if (stream) stream->stopCapture([done = done](auto) { done->set_value(); });
    }

    std::mutex mutex;
    std::weak_ptr<platform::Stream> armed;
    int frames = 0;
    std::shared_ptr<std::promise<void>> done = std::make_shared<std::promise<void>>();
};

// A window that draws all the time: frames stay apart by the minimum interval, and a stop
// from another thread, from inside a frame or by dropping the stream always ends it.
TEST_F(CaptureStreamTest, StopWhileFramesFlowEndsPromptly) {
    auto window = shownWindow();
    std::atomic<bool> animating{true};
    std::thread painter([&] {
        for (uint32_t i = 0; animating.load(); ++i)
            window->paint(i % 2 ? blue : orange);
    });
    for (int round = 0; round < 6; ++round) {
        auto recorder = std::make_shared<CaptureRecorder>(false);
        auto stopFromFrame = std::make_shared<StopFromFrame>();
        if (round % 3 == 1) recorder->onFrame = [stopFromFrame] { stopFromFrame->frame(); };
        auto stream = started(window->id(), recorder);
        stopFromFrame->arm(stream);
        ASSERT_TRUE(recorder->waitUntil([](const Record& r) { return r.frames >= 5; }));
        EXPECT_GE(recorder->record().shortestGap, 7ms) << "more than 120 frames a second";
        Outcome stopped;
        if (round % 3 == 0) {
            std::thread([&] { stopped = stop(*stream); }).join();
        } else if (round % 3 == 1) {
            EXPECT_EQ(stopFromFrame->done->get_future().wait_for(10s), std::future_status::ready);
        } else {
            stream = nullptr;  // drops the stream while frames flow
            continue;
        }
        EXPECT_EQ(stopped.error, std::nullopt);
        const int framesAtStop = recorder->record().frames;
        EXPECT_FALSE(
            recorder->waitUntil([&](const Record& r) { return r.frames > framesAtStop; }, 100ms))
            << "a frame after the stop completed";
    }
    animating = false;
    painter.join();
}

TEST_F(CaptureStreamTest, StreamsOfTwoWindowsShareOneThreadAndStopApart) {
    auto first = shownWindow(), second = shownWindow();
    auto firstRecorder = std::make_shared<CaptureRecorder>(false);
    auto secondRecorder = std::make_shared<CaptureRecorder>();
    std::atomic<std::thread::id> firstThread, secondThread;
    firstRecorder->onFrame = [&] { firstThread = std::this_thread::get_id(); };
    secondRecorder->onFrame = [&] { secondThread = std::this_thread::get_id(); };
    auto firstStream = started(first->id(), firstRecorder);
    auto secondStream = started(second->id(), secondRecorder);
    first->paint(blue);
    second->paint(orange);
    ASSERT_TRUE(firstRecorder->waitUntil([](const Record& r) { return r.frames > 0; }));
    ASSERT_TRUE(secondRecorder->waitUntil(shows(orange)));
    for (auto deadline = std::chrono::steady_clock::now() + 5s;  // told after the record
         (firstThread.load() == std::thread::id() || secondThread.load() == std::thread::id()) &&
         std::chrono::steady_clock::now() < deadline;)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(firstThread.load(), secondThread.load());
    EXPECT_FALSE(stop(*firstStream).onCallerThread);
    const int stoppedAt = framesOnceQuiet(*firstRecorder);
    first->paint(green);
    second->paint(green);
    EXPECT_TRUE(secondRecorder->waitUntil(shows(green)));
    EXPECT_EQ(framesOnceQuiet(*firstRecorder), stoppedAt);
    EXPECT_EQ(firstRecorder->record().errors + secondRecorder->record().errors, 0);
}

// A lock for a region reads that region in place; a wider lock while it is held reads all.
TEST_F(CaptureStreamTest, ARegionLockReadsItsPixelsInPlaceAndAWiderLockReadsAll) {
    auto window = shownWindow();
    auto recorder = std::make_shared<CaptureRecorder>(false);
    auto stream = started(window->id(), recorder);
    window->paint(blue);
    ASSERT_TRUE(recorder->waitUntil([](const Record& r) { return r.frames > 0; }));
    // Orange drawn before the first frame's damage was subtracted brings no frame of its own;
    // either way the latest frame reads orange, since a frame reads its pixels when locked.
    window->paint(orange);
    const std::shared_ptr<platform::SampleBuffer> sample = recorder->record().last;
    platform::PixelBuffer& image = *sample->imageBuffer();
    const auto pixel = [&](size_t x, size_t y) {
        const uint8_t* p = image.baseAddress() + y * image.bytesPerRow() + 4 * x;
        return CaptureRecord::Pixel{p[0], p[1], p[2], p[3]};
    };
    ASSERT_EQ(image.lockRegion(platform::PixelBuffer::readOnly, {10, 1, 20, 2}), 0);
    ASSERT_NE(image.baseAddress(), nullptr);
    EXPECT_EQ(pixel(10, 1), bgra(orange));
    EXPECT_EQ(pixel(29, 2), bgra(orange));
    ASSERT_EQ(image.lockBaseAddress(platform::PixelBuffer::readOnly), 0);
    EXPECT_EQ(pixel(0, 0), bgra(orange));
    EXPECT_EQ(pixel(image.width() - 1, image.height() - 1), bgra(orange));
    EXPECT_EQ(image.unlockBaseAddress(platform::PixelBuffer::readOnly), 0);
    EXPECT_EQ(image.unlockBaseAddress(platform::PixelBuffer::readOnly), 0);
    EXPECT_EQ(image.baseAddress(), nullptr);
}

}  // namespace
