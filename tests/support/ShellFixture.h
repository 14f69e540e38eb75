#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "simulate/ScenarioCommands.h"
#include "support/SimFixture.h"

// The shell's tests run on the common fixture.
using ShellFixture = SimFixture;

// A folder of its own under the temporary directory, removed with the test.
class ScratchFolder {
public:
    ScratchFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                (std::string("veltrin-") + test->test_suite_name() + "-" + test->name());
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path_); }

    std::string path() const { return path_.string(); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    void write(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories((path_ / name).parent_path());
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }

private:
    std::filesystem::path path_;
};

// A scenario on a desktop of its own, as `--simulate` plays it.
class ScenarioFixture : public ::testing::Test {
protected:
    ScenarioFixture() {
        MirrorPanel::forgetScreenFrame();
        HotkeyManagerReset::toFreshInstance();
        platform::install(std::make_unique<sim::SimPlatform>(desktop));
        defineAllCommands(scenario);
    }
    ~ScenarioFixture() override {
        PinManager::shared().unpinAll();
        desktop.runUntilIdle();
        platform::uninstall();
    }

    bool play(const std::string& script) { return scenario.run(script, errors); }

    sim::SimDesktop desktop;
    std::ostringstream out, errors;
    Scenario scenario{desktop, out};
};

// One editor window in front, both permissions granted, the program launched.
inline constexpr const char* launchedScene = R"(screen 0 0 1920 1080 0 0 1920 1055
app 812 com.example.editor Editor
window 471 812 120 80 800 600
focus 812
permission accessibility on
permission screen-recording on
launch
)";
