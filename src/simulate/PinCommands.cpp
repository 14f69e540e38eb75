#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "app/NumberText.h"
#include "pinning/PinManager.h"
#include "platform/sim/SimDesktop.h"
#include "simulate/InterfaceText.h"
#include "simulate/ScenarioCommands.h"

namespace {

// Frames are painted in memory: 4096 x 4096 pixels at most.
constexpr size_t maxFramePixels = 4096 * 4096;

std::optional<uint32_t> optionalWindow(const std::string& word) {
    if (word == "none") return std::nullopt;
    return scenarioWindow(word);
}

// A press of the global shortcut, as the hot key delivers it to the running copy.
void toggle(Scenario& s, const Scenario::Args&) {
    const auto copy = s.desktop().firstRunningCopy();
    if (!copy) throw ScenarioError{"no copy of the program runs"};
    s.desktop().postMainFor(*copy, 0, [] { PinManager::shared().toggleFrontmost(); });
}

void ax(Scenario& s, const Scenario::Args& args) {
    const int32_t pid = scenarioPid(args[0]);
    sim::SimAXModel& model = s.desktop().axModel;
    if (args[1] == "focused" && args.size() == 3)
        return model.setFocusedWindow(pid, optionalWindow(args[2]));
    if (args[1] == "main" && args.size() == 3)
        return model.setMainWindow(pid, optionalWindow(args[2]));
    if (args[1] != "windows")
        throw ScenarioError{"ax PID focused|main WINDOW|none, ax PID windows [WINDOW...]"};
    std::vector<uint32_t> windows;
    for (size_t i = 2; i < args.size(); ++i)
        windows.push_back(scenarioWindow(args[i]));
    model.setWindows(pid, std::move(windows));
}

void axError(Scenario& s, const Scenario::Args& args) {
    const int64_t code = scenarioIntegerIn(args[2], std::numeric_limits<int32_t>::min(),
                                           std::numeric_limits<int32_t>::max());
    s.desktop().axModel.setError(scenarioPid(args[0]), args[1],
                                 static_cast<platform::AXError>(code));
}

void captureFails(Scenario& s, const Scenario::Args& args) {
    const uint32_t window = scenarioWindow(args[0]);
    const bool off = args.size() > 2 && args[2] == "off";
    sim::SimCaptureModel& model = s.desktop().captureModel;
    if (args[1] == "start") {
        model.setStartError(window, off ? std::nullopt
                                        : std::optional(platform::PlatformError{
                                              -3802, "Failed to start the stream"}));
    } else if (args[1] == "add-output") {
        model.setAddOutputError(window, off ? std::nullopt
                                            : std::optional(platform::PlatformError{
                                                  -3807, "Failed to add the stream output"}));
    } else {
        throw ScenarioError{"capture-fails WINDOW start|add-output [off]"};
    }
}

void captureError(Scenario& s, const Scenario::Args& args) {
    const platform::PlatformError error{-3815, "The stream stopped with an error"};
    if (s.desktop().captureModel.failStreams(scenarioWindow(args[0]), error) == 0)
        throw ScenarioError{"no running stream for window " + args[0]};
}

void requirePaintable(Scenario& s, uint32_t window) {
    for (const auto& stream : s.desktop().captureModel.streams(window)) {
        if (stream->state() != sim::SimStream::State::running) continue;
        const auto& size = stream->configuration();
        if (size.width * size.height > maxFramePixels)
            throw ScenarioError{"the stream of window " + std::to_string(window) +
                                " is too large to paint a frame for"};
    }
}

// frame WINDOW X|none [noimage] [invalid] [audio]: row 1 opaque (alpha and blue) from X.
void frame(Scenario& s, const Scenario::Args& args) {
    const uint32_t window = scenarioWindow(args[0]);
    requirePaintable(s, window);
    sim::SimFrame frame;
    if (args[1] != "none") frame = sim::SimFrame::opaqueFrom(scenarioWindow(args[1]));
    for (size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "noimage") {
            frame.hasImage = false;
        } else if (args[i] == "invalid") {
            frame.valid = false;
        } else if (args[i] == "audio") {
            frame.type = platform::StreamOutputType::audio;
        } else {
            throw ScenarioError{"unknown frame word \"" + args[i] + "\""};
        }
    }
    s.desktop().captureModel.pushFrame(window, frame);
}

std::string streamState(const MirrorPanel& panel) {
    const auto* stream = dynamic_cast<const sim::SimStream*>(panel.capture()->stream().get());
    if (stream == nullptr) return "none";
    switch (stream->state()) {
        case sim::SimStream::State::created:
            return "created";
        case sim::SimStream::State::running:
            return "running";
        case sim::SimStream::State::stopped:
            return "stopped";
    }
    return "?";
}

// The picture's and the frame's radius, and the frame's colour and width.
std::string frameText(const MirrorPanel& panel) {
    const auto view = panel.panel()->contentView();
    const auto layer = view ? view->layer() : nullptr;
    if (layer == nullptr) return "-";
    return "radius=" + decimalText(panel.contentLayer()->cornerRadius()) + "/" +
           decimalText(layer->cornerRadius()) + " border=" + colorText(layer->borderColor()) +
           " width=" + decimalText(layer->borderWidth());
}

void dumpPinned(Scenario& s) {
    const auto& mirrors = PinManager::shared().mirrors;
    s.out() << "pinned: " << mirrors.size() << "\n";
    for (const auto& panel : mirrors) {
        s.out() << "  window=" << panel->scWindow().windowID << " pid=" << panel->pid()
                << " stream=" << streamState(*panel)
                << " panel=" << rectText(panel->panel()->frame())
                << (panel->panel()->isVisible() ? " shown " : " hidden ") << frameText(*panel)
                << "\n";
    }
}

}  // namespace

void definePinCommands(Scenario& scenario) {
    scenario.define("toggle", 0, "toggle", toggle);
    scenario.define("ax", 2, "ax PID focused|main WINDOW|none, or ax PID windows [WINDOW...]", ax);
    scenario.define("ax-error", 3, "ax-error PID ATTRIBUTE CODE", axError);
    scenario.define("capture-fails", 2, "capture-fails WINDOW start|add-output [off]",
                    captureFails);
    scenario.define("capture-error", 1, "capture-error WINDOW", captureError);
    scenario.define("scale", 2, "scale WINDOW PIXELS-A-POINT",
                    [](Scenario& s, const Scenario::Args& args) {
                        const double scale = scenarioNumberIn(args[1], 0, scenarioArgs::maxScale);
                        if (scale == 0) throw ScenarioError{"a scale must be above 0"};
                        s.desktop().captureModel.setScale(scenarioWindow(args[0]), scale);
                    });
    scenario.define("frame", 2, "frame WINDOW X|none [noimage] [invalid] [audio]", frame);
    Scenario::Handler dumpOthers = scenario.handlerOf("dump");
    scenario.define("dump", 1, "dump defaults|settings|log|copies|pinned",
                    [dumpOthers](Scenario& s, const Scenario::Args& args) {
                        if (args[0] != "pinned") return dumpOthers(s, args);
                        s.desktop().runUntilIdle();
                        dumpPinned(s);
                    });
}
