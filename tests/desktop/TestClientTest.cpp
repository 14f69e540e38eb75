#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

#include "desktop/ChildProcess.h"
#include "desktop/HeadlessDesktop.h"
#include "desktop/TestClient.h"

namespace {

using namespace std::chrono_literals;

class TestClientTest : public ::testing::Test {
protected:
    // The colour at the middle of the client window, as the screen shows it.
    uint32_t centre(const TestClient& client) {
        const auto area = x.rect(client.window());
        return area ? x.pixel(area->x + area->width / 2, area->y + area->height / 2) : 0xffffffff;
    }

    bool showsColor(const TestClient& client, uint32_t color) {
        return XDriver::waitUntil([&] { return XDriver::similar(centre(client), color, 2); }, 5s);
    }

    // The frame counter that the client paints in its top-left corner.
    int counter(const TestClient& client) {
        const auto area = x.rect(client.window());
        const auto cells = area ? x.capture({area->x + 4, area->y + 4, 16 * 6, 6}) : std::nullopt;
        if (!cells) return -1;
        int value = 0;
        for (int bit = 0; bit < 16; ++bit)
            value = value << 1 | (cells->at(bit * 6 + 3, 3) > 0x7f7f7f);
        return value;
    }

    HeadlessDesktop desktop;
    XDriver& x = desktop.x();
};

TEST_F(TestClientTest, ShowsItsColourWhereAskedAndRecolours) {
    TestClient client(desktop.display(),
                      {.width = 300, .height = 200, .x = 100, .y = 120, .color = 0x3366cc});
    const auto frame = x.frameRect(client.window());
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->x, 100);
    EXPECT_EQ(frame->y, 120);
    EXPECT_EQ(x.rect(client.window())->width, 300);
    EXPECT_TRUE(showsColor(client, 0x3366cc));
    ASSERT_TRUE(client.command("color 20C040")) << client.lastReply();
    EXPECT_TRUE(showsColor(client, 0x20c040));
}

TEST_F(TestClientTest, CounterAdvancesWithEachFrame) {
    TestClient client(desktop.display());
    const int before = counter(client);
    ASSERT_GT(before, 0);
    ASSERT_TRUE(client.command("color 102030"));
    EXPECT_TRUE(XDriver::waitUntil([&] { return counter(client) == before + 1; }, 5s))
        << before << " then " << counter(client);
}

TEST_F(TestClientTest, MovesResizesAndClosesOnCommand) {
    TestClient client(desktop.display(), {.x = 50, .y = 50});
    ASSERT_TRUE(client.command("move 400 300")) << client.lastReply();
    EXPECT_TRUE(XDriver::waitUntil(
        [&] { return x.frameRect(client.window()).value_or(XDriver::Rect{}).x == 400; }, 5s));
    EXPECT_EQ(x.frameRect(client.window())->y, 300);
    ASSERT_TRUE(client.command("resize 250 150"));
    EXPECT_TRUE(XDriver::waitUntil(
        [&] {
            const auto area = x.rect(client.window());
            return area && area->width == 250 && area->height == 150;
        },
        5s));
    const xcb_window_t window = client.window();
    ASSERT_TRUE(client.command("close"));
    EXPECT_EQ(client.waitForExit(5s), 0);
    EXPECT_FALSE(x.rect(window));
}

TEST_F(TestClientTest, RefusesBadCommandsAndEndsAtEndOfInput) {
    TestClient client(desktop.display());
    EXPECT_FALSE(client.command("resize 0 10"));
    EXPECT_EQ(client.lastReply().rfind("error resize", 0), 0u) << client.lastReply();
    EXPECT_FALSE(client.command("colour 123456"));
    EXPECT_FALSE(client.command("color 12345G"));
    EXPECT_TRUE(client.command("color 123456"));
    EXPECT_EQ(client.closeInput(), 0);
}

TEST_F(TestClientTest, AnimationReportsEachFrameItPaints) {
    TestClient client(desktop.display());
    ASSERT_TRUE(client.command("animate 30 0.5"));
    std::vector<std::string> frames;
    while (auto line = client.readLine(5s)) {
        if (*line == "animated") break;
        frames.push_back(*line);
    }
    ASSERT_GE(frames.size(), 10u);
    long long lastNumber = 0, lastNs = 0;
    std::set<std::string> colors;
    std::string color;
    for (const auto& frame : frames) {
        std::istringstream words(frame);
        std::string word;
        long long number = 0, ns = 0;
        ASSERT_TRUE(words >> word >> number >> ns >> color) << frame;
        EXPECT_EQ(word, "frame");
        EXPECT_GT(number, lastNumber);
        EXPECT_GT(ns, lastNs);
        lastNumber = number;
        lastNs = ns;
        colors.insert(color);
    }
    EXPECT_EQ(colors.size(), frames.size());
    EXPECT_TRUE(showsColor(client, static_cast<uint32_t>(std::stoul(color, nullptr, 16))));
    EXPECT_EQ(counter(client), lastNumber & 0xffff);
}

TEST_F(TestClientTest, NamesItselfAsAskedAndSetsItsPidUnlessTold) {
    TestClient named(desktop.display(), {.wmClass = "Probe"});
    TestClient anonymous(desktop.display(), {.setPid = false});
    EXPECT_EQ(x.cardinal(named.window(), "_NET_WM_PID"), static_cast<uint32_t>(named.pid()));
    EXPECT_FALSE(x.cardinal(anonymous.window(), "_NET_WM_PID"));
    auto* reply =
        xcb_get_property_reply(x.connection(),
                               xcb_get_property(x.connection(), 0, named.window(),
                                                XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 64),
                               nullptr);
    ASSERT_NE(reply, nullptr);
    const std::string wmClass(static_cast<const char*>(xcb_get_property_value(reply)),
                              static_cast<size_t>(xcb_get_property_value_length(reply)));
    std::free(reply);
    EXPECT_EQ(wmClass, std::string("Probe\0Probe\0", 12));
}

TEST_F(TestClientTest, OverrideRedirectPopupIsAnUnmanagedTopLevel) {
    TestClient popup(desktop.display(),
                     {.width = 120, .height = 80, .x = 30, .y = 40, .overrideRedirect = true});
    const auto popups = x.overrideRedirectWindows();
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].window, popup.window());
    EXPECT_EQ(popups[0].rect, XDriver::Rect({30, 40, 120, 80}));
}

TEST_F(TestClientTest, ShadowMarginsAreDeclaredAndPaintedApart) {
    TestClient client(
        desktop.display(),
        {.width = 300, .height = 200, .gtkExtents = ClientOptions::Extents{10, 20, 30, 40}});
    EXPECT_EQ(x.cardinals(client.window(), "_GTK_FRAME_EXTENTS"),
              std::vector<uint32_t>({10, 20, 30, 40}));
    const auto area = x.rect(client.window());
    ASSERT_TRUE(area);
    EXPECT_EQ(x.pixel(area->x + 5, area->y + 100), 0xff00ffu);
    EXPECT_EQ(x.pixel(area->x + 100, area->y + 195), 0xff00ffu);
    EXPECT_EQ(x.pixel(area->x + 100, area->y + 100), 0x3366ccu);
}

TEST_F(TestClientTest, ArgbClientHasA32BitVisual) {
    TestClient client(desktop.display(), {.argb = true});
    auto* geometry = xcb_get_geometry_reply(
        x.connection(), xcb_get_geometry(x.connection(), client.window()), nullptr);
    ASSERT_NE(geometry, nullptr);
    EXPECT_EQ(geometry->depth, 32);
    std::free(geometry);
    EXPECT_TRUE(showsColor(client, 0x3366cc));
}

TEST_F(TestClientTest, IconifiesRaisesAndUnmapsOnCommand) {
    TestClient first(desktop.display());
    TestClient second(desktop.display());
    ASSERT_TRUE(XDriver::waitUntil([&] { return x.activeWindow() == second.window(); }, 5s));
    ASSERT_TRUE(first.command("raise"));
    EXPECT_TRUE(XDriver::waitUntil([&] { return x.activeWindow() == first.window(); }, 5s));
    ASSERT_TRUE(first.command("iconify"));
    constexpr uint32_t iconicState = 3;
    EXPECT_TRUE(XDriver::waitUntil(
        [&] { return x.cardinal(first.window(), "WM_STATE", x.atom("WM_STATE")) == iconicState; },
        5s));
    ASSERT_TRUE(second.command("unmap"));
    EXPECT_TRUE(XDriver::waitUntil(
        [&] {
            return !x.frameRect(second.window()) ||
                   x.topLevelOf(second.window()) == second.window();
        },
        5s));
}

TEST_F(TestClientTest, SecondHolderOfAKeyCombinationIsRefused) {
    TestClient holder(desktop.display(), {.grabKey = "alt+p"});
    EXPECT_THROW(TestClient(desktop.display(), {.grabKey = "alt+p"}), std::runtime_error);
    TestClient other(desktop.display(), {.grabKey = "alt+q"});
    EXPECT_TRUE(holder.command("quit"));
}

TEST_F(TestClientTest, ScreenshotModeSavesTheScreenAsPng) {
    TestClient client(desktop.display(), {.x = 0, .y = 0, .color = 0xa0b0c0});
    const auto area = x.rect(client.window());
    ASSERT_TRUE(area);
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("veltrin-shot-" + std::to_string(client.pid()) + ".png"))
                                 .string();
    ChildProcess::Spec spec;
    spec.arguments = {VELTRIN_TEST_CLIENT, "--screenshot", path, "--display", desktop.display()};
    ChildProcess shooter(spec);
    ASSERT_EQ(shooter.waitForExit(10s), 0);
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    ASSERT_NE(png_image_begin_read_from_file(&png, path.c_str()), 0);
    png.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(png));
    ASSERT_NE(png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr), 0);
    std::filesystem::remove(path);
    EXPECT_EQ(png.width, 1600u);
    EXPECT_EQ(png.height, 1200u);
    const size_t at =
        (static_cast<size_t>(area->y + 100) * png.width + static_cast<size_t>(area->x + 100)) * 3;
    EXPECT_EQ(rgb[at] << 16 | rgb[at + 1] << 8 | rgb[at + 2], 0xa0b0c0);
}

}  // namespace
