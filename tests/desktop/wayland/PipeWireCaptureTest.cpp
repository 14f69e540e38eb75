#include <gtest/gtest.h>
#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "desktop/CaptureRecorder.h"
#include "desktop/wayland/MainQueueThread.h"
#include "desktop/wayland/MediaSession.h"
#include "desktop/wayland/TestVideoProducer.h"
#include "platform/desktop/wayland/PipeWireCapture.h"
#include "platform/desktop/wayland/PipeWireCaptureStreams.h"
#include "platform/desktop/wayland/PipeWireFrame.h"

namespace {

using namespace std::chrono_literals;
using Record = CaptureRecord;

constexpr uint32_t blue = 0x2060c0;
constexpr uint32_t orange = 0xe08020;
constexpr uint32_t green = 0x30a050;
constexpr uint32_t knownWindow = 7;

// The compositor's part: answers each request with the node or the text it was given (or
// never), on the main thread, and counts what it saw.
class FakeScreencastSource : public desktop::ScreencastSource {
public:
    explicit FakeScreencastSource(MainQueueThread& main) : main_(main) {}

    struct Share : desktop::ScreencastShare {
        explicit Share(std::atomic<int>& closes) : closes(closes) {}
        ~Share() override { close(); }
        void close() override {
            if (!closed.exchange(true)) ++closes;
        }
        std::atomic<int>& closes;
        std::atomic<bool> closed{false};
    };

    std::shared_ptr<desktop::ScreencastShare> streamWindow(const std::string& uuid,
                                                           Answer answer) override {
        ++requests;
        if (!main_.isMainThread()) ++offMainThread;
        lastUuid = uuid;
        auto share = std::make_shared<Share>(closes);
        if (reply)
            main_.mainAsync([weak = std::weak_ptr<Share>(share), answer, outcome = *reply] {
                auto alive = weak.lock();
                if (alive && !alive->closed) answer(outcome);
            });
        return share;
    }

    std::optional<Outcome> reply;  // set before the stream starts
    std::atomic<int> requests{0};
    std::atomic<int> offMainThread{0};
    std::atomic<int> closes{0};
    std::string lastUuid;

private:
    MainQueueThread& main_;
};

struct Outcome {
    std::optional<platform::PlatformError> error;
    bool onCallerThread = true;
    std::chrono::steady_clock::duration took{};
};

class PipeWireCaptureTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        try {
            session_ = std::make_unique<MediaSession>();
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
        }
    }
    static void TearDownTestSuite() { session_.reset(); }

    void SetUp() override {
        ASSERT_NE(session_, nullptr) << "no PipeWire session";
        source_ = std::make_shared<FakeScreencastSource>(main_);
        streams_ = std::make_unique<desktop::PipeWireCaptureStreams>(
            source_,
            [this](uint32_t id) -> std::optional<std::string> {
                if (!main_.isMainThread()) ++source_->offMainThread;
                if (id != knownWindow) return std::nullopt;
                return "uuid-" + std::to_string(id);
            },
            main_, 2.0);
    }

    std::shared_ptr<platform::Stream> createStream(const std::shared_ptr<CaptureRecorder>& recorder,
                                                   uint32_t window = knownWindow) {
        platform::SCWindow scWindow;
        scWindow.windowID = window;
        scWindow.frame = {40, 60, 64, 48};
        auto stream = streams_->createStream(streams_->desktopIndependentWindowFilter(scWindow), {},
                                             recorder);
        EXPECT_EQ(stream->addStreamOutput(recorder, platform::StreamOutputType::screen),
                  std::nullopt);
        return stream;
    }

    static Outcome await(const std::function<void(platform::Stream::Completion)>& call) {
        auto promise = std::make_shared<std::promise<Outcome>>();
        const auto caller = std::this_thread::get_id();
        const auto began = std::chrono::steady_clock::now();
        call([promise, caller, began](std::optional<platform::PlatformError> error) {
            promise->set_value({std::move(error), std::this_thread::get_id() == caller,
                                std::chrono::steady_clock::now() - began});
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

    std::shared_ptr<platform::Stream> started(TestVideoProducer& producer,
                                              const std::shared_ptr<CaptureRecorder>& recorder) {
        const uint32_t node = producer.node();
        EXPECT_NE(node, 0u) << "the producer did not come up";
        source_->reply = node;
        auto stream = createStream(recorder);
        const Outcome outcome = start(*stream);
        EXPECT_EQ(outcome.error, std::nullopt) << outcome.error->description;
        EXPECT_FALSE(outcome.onCallerThread);
        return stream;
    }

    bool sharesClosed(int count) {
        for (auto deadline = std::chrono::steady_clock::now() + 5s;
             std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(10ms))
            if (source_->closes == count) return true;
        return source_->closes == count;
    }

    static auto shows(uint32_t colour) {
        return [colour](const Record& r) { return r.frames > 0 && r.centre == bgra(colour); };
    }

    static inline std::unique_ptr<MediaSession> session_;
    // The main queue goes first: shares still in its tasks count their closing on the source.
    std::shared_ptr<FakeScreencastSource> source_;
    MainQueueThread main_;
    std::unique_ptr<platform::CaptureStreams> streams_;
};

desktop::PipeWireFrame& frameOf(const platform::SampleBuffer& sample) {
    return dynamic_cast<desktop::PipeWireFrame&>(*sample.imageBuffer());
}

// A borrowed frame names the file that holds its pixels, and where, for the compositor to
// map; a copy names none.
void expectFileHoldsThePicture(desktop::PipeWireFrame& frame) {
    ASSERT_EQ(frame.lockBaseAddress(platform::PixelBuffer::readOnly), 0);
    const auto shared = frame.sharedMemory();
    EXPECT_EQ(shared.has_value(), frame.borrowed());
    if (shared) {
        EXPECT_NE(shared->buffer, 0u);
        const size_t length = (frame.height() - 1) * frame.bytesPerRow() + frame.width() * 4;
        ASSERT_LE(shared->offset + length, shared->size);
        void* file = ::mmap(nullptr, shared->size, PROT_READ, MAP_SHARED, shared->fd, 0);
        ASSERT_NE(file, MAP_FAILED);
        EXPECT_EQ(
            std::memcmp(static_cast<uint8_t*>(file) + shared->offset, frame.baseAddress(), length),
            0);
        ::munmap(file, shared->size);
    }
    frame.unlockBaseAddress(platform::PixelBuffer::readOnly);
}

// Rows padded beyond the picture, and a producer whose alpha bytes mean nothing (BGRx):
// the frames keep the producer's stride and read as the opaque colour it drew.
TEST_F(PipeWireCaptureTest, FramesShowTheProducersPictureAtItsStride) {
    for (bool opaqueFormat : {false, true}) {
        SCOPED_TRACE(opaqueFormat ? "BGRx" : "BGRA");
        TestVideoProducer producer({.width = 64,
                                    .height = 48,
                                    .stride = 296,
                                    .colour = blue,
                                    .opaqueFormat = opaqueFormat});
        auto recorder = std::make_shared<CaptureRecorder>();
        auto stream = started(producer, recorder);
        ASSERT_TRUE(recorder->waitUntil(shows(blue)));
        const Record record = recorder->record();
        EXPECT_EQ(record.width, 64u);
        EXPECT_EQ(record.height, 48u);
        EXPECT_EQ(record.last->imageBuffer()->bytesPerRow(), 296u);
        EXPECT_EQ(record.topLeft, bgra(blue));
        EXPECT_EQ(record.bottomRight, bgra(blue));
        EXPECT_TRUE(record.opaque);
        EXPECT_EQ(frameOf(*record.last).borrowed(), !opaqueFormat);
        expectFileHoldsThePicture(frameOf(*record.last));
        producer.setColour(orange);
        EXPECT_TRUE(recorder->waitUntil(shows(orange)));
        EXPECT_EQ(source_->lastUuid, "uuid-7");
        EXPECT_FALSE(stop(*stream).onCallerThread);
        EXPECT_EQ(recorder->record().errors, 0);
    }
    EXPECT_TRUE(sharesClosed(2));
    EXPECT_EQ(source_->offMainThread, 0) << "the window lookup or share left the main thread";
}

TEST_F(PipeWireCaptureTest, ProducerEndingReachesTheDelegateOnce) {
    auto producer = std::make_unique<TestVideoProducer>(TestVideoProducer::Options{.colour = blue});
    auto recorder = std::make_shared<CaptureRecorder>(false);
    auto stream = started(*producer, recorder);
    ASSERT_TRUE(recorder->waitUntil([](const Record& r) { return r.frames > 0; }));
    producer.reset();
    ASSERT_TRUE(recorder->waitUntil([](const Record& r) { return r.errors > 0; }));
    EXPECT_FALSE(recorder->waitUntil([](const Record& r) { return r.errors > 1; }, 300ms));
    EXPECT_EQ(recorder->record().error, "capture: the stream ended");
    EXPECT_TRUE(sharesClosed(1)) << "the ended stream kept the compositor's share open";
    EXPECT_EQ(stop(*stream).error, std::nullopt);
    EXPECT_EQ(recorder->record().errors, 1);
}

// Frames that the owner keeps, many, across a resize and past the end of the stream, keep
// their picture; while it keeps them, the producer is not starved of buffers.
TEST_F(PipeWireCaptureTest, KeptFramesOutliveTheirBuffersAndStarveNoOne) {
    auto producer = std::make_unique<TestVideoProducer>(
        TestVideoProducer::Options{.stride = 272, .colour = blue, .framesPerSecond = 120});
    auto recorder = std::make_shared<CaptureRecorder>();
    std::mutex mutex;
    std::vector<std::shared_ptr<platform::SampleBuffer>> kept;
    recorder->onFrame = [&] {
        std::lock_guard lock(mutex);
        kept.push_back(recorder->record().last);
    };
    auto stream = started(*producer, recorder);
    EXPECT_TRUE(recorder->waitUntil([](const Record& r) { return r.frames >= 12; }))
        << "frames stopped while the owner kept " << kept.size();
    producer->resize(100, 30);
    producer->setColour(orange);
    EXPECT_TRUE(recorder->waitUntil([](const Record& r) {
        return r.width == 100 && r.height == 30 && r.bottomRight == bgra(orange);
    }));
    stop(*stream);
    stream = nullptr;
    EXPECT_TRUE(sharesClosed(1));
    producer.reset();
    recorder->onFrame = nullptr;
    std::lock_guard lock(mutex);
    for (const auto& sample : kept) {
        platform::PixelBuffer& image = *sample->imageBuffer();
        ASSERT_EQ(image.lockBaseAddress(platform::PixelBuffer::readOnly), 0);
        EXPECT_FALSE(frameOf(*sample).sharedMemory().has_value()) << "its buffer is gone";
        const uint8_t* corner = image.baseAddress() + (image.height() - 1) * image.bytesPerRow() +
                                (image.width() - 1) * 4;
        const CaptureRecord::Pixel pixel{corner[0], corner[1], corner[2], corner[3]};
        EXPECT_TRUE(pixel == bgra(blue) || pixel == bgra(orange)) << image.width();
        image.unlockBaseAddress(platform::PixelBuffer::readOnly);
    }
}

// A producer that renegotiates each new size and, as KWin does, sends nothing more until its
// stream is set going again: frames come at each size, growing and shrinking, in the colour
// drawn after the resize, and every frame keeps the size and rows it was drawn with.
TEST_F(PipeWireCaptureTest, FramesGoOnAtEachNewSizeOfAProducerThatHoldsAfterAResize) {
    struct Size {
        size_t width;
        size_t height;
        uint32_t colour;
    };
    const std::vector<Size> sizes = {
        {64, 48, blue}, {120, 90, orange}, {30, 20, green}, {31, 23, blue}};
    TestVideoProducer producer(
        {.width = 64, .height = 48, .stride = 264, .colour = blue, .holdsAfterResize = true});
    auto recorder = std::make_shared<CaptureRecorder>();
    std::atomic<int> misfits{0};
    recorder->onFrame = [&] {
        const Record r = recorder->record();
        const bool fits = std::any_of(sizes.begin(), sizes.end(), [&](const Size& size) {
            return size.width == r.width && size.height == r.height &&
                   r.last->imageBuffer()->bytesPerRow() == r.width * 4 + 8 &&
                   (r.bottomRight == bgra(blue) || r.bottomRight == bgra(orange) ||
                    r.bottomRight == bgra(green));
        });
        if (!fits) ++misfits;
    };
    auto stream = started(producer, recorder);
    ASSERT_TRUE(recorder->waitUntil(shows(blue)));
    for (const Size& size : std::vector<Size>(sizes.begin() + 1, sizes.end())) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        producer.resize(uint32_t(size.width), uint32_t(size.height));
        producer.setColour(size.colour);
        EXPECT_TRUE(recorder->waitUntil(
            [&](const Record& r) {
                return r.width == size.width && r.height == size.height &&
                       r.bottomRight == bgra(size.colour);
            },
            5s));
    }
    EXPECT_EQ(stop(*stream).error, std::nullopt);
    recorder->onFrame = nullptr;
    EXPECT_EQ(misfits, 0) << "frames of a size or rows that the producer never drew";
    EXPECT_EQ(recorder->record().errors, 0);
}

// PipeWire itself ending is the end of the stream, once.
TEST_F(PipeWireCaptureTest, DaemonEndingReachesTheDelegateOnce) {
    auto producer = std::make_unique<TestVideoProducer>(TestVideoProducer::Options{.colour = blue});
    auto recorder = std::make_shared<CaptureRecorder>(false);
    auto stream = started(*producer, recorder);
    ASSERT_TRUE(recorder->waitUntil([](const Record& r) { return r.frames > 0; }));
    session_->restartPipeWire();
    ASSERT_TRUE(recorder->waitUntil([](const Record& r) { return r.errors > 0; }));
    EXPECT_EQ(recorder->record().error, "capture: lost the connection to PipeWire");
    EXPECT_EQ(stop(*stream).error, std::nullopt);
    EXPECT_EQ(recorder->record().errors, 1);
    EXPECT_TRUE(sharesClosed(1));
}

// Every way a start can fail ends in a failed start (no stop reported), in good time, and
// gives the compositor's share back.
TEST_F(PipeWireCaptureTest, StartFailsClearlyAndInTime) {
    struct Case {
        const char* what;
        uint32_t window;
        std::optional<desktop::ScreencastSource::Outcome> reply;
        const char* expected;
        int shares;  // shares closed by the end of the case
    };
    TestVideoProducer stalled({.colour = blue, .stalled = true});
    const std::vector<Case> cases = {
        {"unknown window", 99, uint32_t{1}, "capture: window 99 is gone", 0},
        {"refused", knownWindow, std::string("window withdrawn"),
         "capture: no picture of window 7: window withdrawn", 1},
        {"no such node", knownWindow, uint32_t{4'000'000}, "capture: PipeWire has no node 4000000",
         2},
        {"never answered", knownWindow, std::nullopt, "capture: the stream did not start in time",
         3},
        {"never set going", knownWindow, stalled.node(),
         "capture: the stream did not start in time", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(stalled.node(), 0u);
        source_->reply = c.reply;
        auto recorder = std::make_shared<CaptureRecorder>();
        auto stream = createStream(recorder, c.window);
        const Outcome outcome = start(*stream);
        ASSERT_TRUE(outcome.error.has_value());
        EXPECT_EQ(outcome.error->description, c.expected);
        EXPECT_FALSE(outcome.onCallerThread);
        EXPECT_LT(outcome.took, 5s);
        EXPECT_TRUE(sharesClosed(c.shares));
        EXPECT_EQ(recorder->record().errors, 0) << "a failed start is no stop";
        EXPECT_EQ(stop(*stream).error, std::nullopt);
    }
}

// Stops its stream from inside the fifth frame.
struct StopFromFrame {
    void frame() {
        std::shared_ptr<platform::Stream> target;
        {
            std::lock_guard lock(mutex);
            if (++frames != 5) return;
            target = stream.lock();
        }
        if (target) target->stopCapture([done = done](auto) { done->set_value(); });
    }
    std::mutex mutex;
    std::weak_ptr<platform::Stream> stream;
    int frames = 0;
    std::shared_ptr<std::promise<void>> done = std::make_shared<std::promise<void>>();
};

// A stop from another thread, from inside a frame, or by dropping the stream always ends
// it: no frame after the stop completed, and the share goes back.
TEST_F(PipeWireCaptureTest, StopWhileFramesFlowEndsCleanly) {
    TestVideoProducer producer({.colour = blue, .framesPerSecond = 120});
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        auto recorder = std::make_shared<CaptureRecorder>();
        auto stopFromFrame = std::make_shared<StopFromFrame>();
        if (round % 3 == 1) recorder->onFrame = [stopFromFrame] { stopFromFrame->frame(); };
        auto stream = started(producer, recorder);
        {
            std::lock_guard lock(stopFromFrame->mutex);
            stopFromFrame->stream = stream;
        }
        ASSERT_TRUE(recorder->waitUntil([](const Record& r) { return r.frames >= 5; }));
        if (round % 3 == 0) {
            Outcome stopped;
            std::thread([&] { stopped = stop(*stream); }).join();
            EXPECT_EQ(stopped.error, std::nullopt);
        } else if (round % 3 == 1) {
            EXPECT_EQ(stopFromFrame->done->get_future().wait_for(10s), std::future_status::ready);
        } else {
            stream = nullptr;
        }
        EXPECT_TRUE(sharesClosed(round + 1));
        const int framesAtStop = recorder->record().frames;
        EXPECT_FALSE(
            recorder->waitUntil([&](const Record& r) { return r.frames > framesAtStop; }, 200ms))
            << "a frame after the stop completed";
        EXPECT_EQ(recorder->record().errors, 0);
    }
}

}  // namespace
