#pragma once

// The built program on a test's display, with a private HOME and XDG_CONFIG_HOME (so its
// preferences start fresh and stay out of the user's), its output captured, and the records
// it added to the diagnostic log.
//
//   VeltrinProcess veltrin(desktop.display(), {{"QUELM_PIN_TEST", "1"}});
//   ASSERT_TRUE(veltrin.waitForLogLine("mirror: capture OK", std::chrono::seconds(5)));
//   veltrin.stop();
//   VeltrinProcess alone(std::nullopt);        // no DISPLAY at all
//   EXPECT_EQ(alone.waitForExit(std::chrono::seconds(5)), 2);
//   EXPECT_NE(alone.standardError().find("no X display"), std::string::npos);
//   VeltrinProcess toggle(std::nullopt, {}, {"--toggle"});  // a command, with its arguments
//   EXPECT_EQ(VeltrinProcess::command("--toggle", environment).status, 0);

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desktop/ChildProcess.h"

class VeltrinProcess {
public:
    // What a command from the shell did: its status once it ended (nothing when it did not end
    // within 30 s), and what it wrote on standard error.
    struct Outcome {
        std::optional<int> status;
        std::string standardError;
    };
    // `veltrin OPTION` from a shell without a display, run to its end.
    static Outcome command(const std::string& option,
                           const std::map<std::string, std::string>& environment = {});

    // Starts it at once; `display` nullopt leaves DISPLAY unset.
    explicit VeltrinProcess(const std::optional<std::string>& display,
                            const std::map<std::string, std::string>& environment = {},
                            const std::vector<std::string>& arguments = {});
    ~VeltrinProcess();
    VeltrinProcess(const VeltrinProcess&) = delete;
    VeltrinProcess& operator=(const VeltrinProcess&) = delete;

    pid_t pid() const { return process_->pid(); }
    bool running() { return process_->running(); }
    std::optional<int> waitForExit(std::chrono::milliseconds timeout) {
        return process_->waitForExit(timeout);
    }
    void stop() { process_->stop(); }
    // Its private folder: HOME, with the preferences under config/veltrin/veltrin.ini.
    const std::string& home() const { return home_; }
    std::string settingsPath() const { return configHome_ + "/veltrin/veltrin.ini"; }

    std::string standardOutput() const;
    std::string standardError() const;
    // The log records written since it started, by any process: several copies, and other
    // tests on the machine, share the one file.
    std::string log() const;
    // The first new record that contains `text`, once written within `timeout`.
    std::optional<std::string> waitForLogLine(const std::string& text,
                                              std::chrono::milliseconds timeout) const;

private:
    std::string home_;
    std::string configHome_;  // where its settings live
    uintmax_t logStart_ = 0;
    std::unique_ptr<ChildProcess> process_;
};
