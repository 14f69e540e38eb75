#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/SimDesktop.h"
#include "simulate/Scenario.h"

// One long random session on a fresh simulated desktop, played as scenario lines, with
// what must always hold checked after every line.
class SoakSession {
public:
    // The scene every session starts from: three applications, one of them with a control
    // character in its name, their windows, both permissions, and the program launched.
    static const std::string scene;

    SoakSession();
    ~SoakSession();
    SoakSession(const SoakSession&) = delete;
    SoakSession& operator=(const SoakSession&) = delete;

    // Plays count random lines chosen from the seed; the lines played so far are in
    // played(). Returns what broke, if anything, after the line that broke it.
    std::optional<std::string> playRandom(uint32_t seed, int count);
    // Plays the given lines. A line the runner refuses counts as not reproducing.
    std::optional<std::string> replay(const std::vector<std::string>& lines);
    const std::vector<std::string>& played() const { return played_; }

private:
    enum class Outcome { fine, refused, broken };

    Outcome playLine(const std::string& line);
    std::string nextLine();
    std::string windowLine();
    std::string settingsLine();
    std::optional<std::string> broken();
    std::optional<std::string> pinsAndPanels() const;
    std::optional<std::string> goneWindowsUnpinned();
    std::optional<std::string> nothingLeftOfUnpinned();
    std::optional<std::string> oneLinePerRecord();

    // What the generator picks from.
    std::vector<uint32_t> windows();
    std::vector<int32_t> runningApps();
    bool settingsOpen() const;
    template <typename T>
    T pick(const std::vector<T>& from) {
        return from[rng_() % from.size()];
    }
    int between(int low, int high) { return low + static_cast<int>(rng_() % (high - low + 1)); }

    sim::SimDesktop desktop_;
    std::ostringstream out_;
    Scenario scenario_{desktop_, out_};
    std::mt19937 rng_;
    std::vector<std::string> played_;
    std::string failure_;
    std::map<uint32_t, double> goneSince_;  // pinned windows no longer in the window server
    std::vector<uint32_t> known_{471, 472, 501, 520};  // every window ever added
    uint32_t nextWindow_ = 600;
    int32_t nextApp_ = 900;
};
