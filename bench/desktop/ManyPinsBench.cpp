#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "BenchDesktop.h"
#include "Benchmarks.h"
#include "ClientScene.h"
#include "CpuRounds.h"
#include "FrameLine.h"
#include "MonotonicClock.h"
#include "PinnedClient.h"
#include "ProcessCpu.h"

namespace {

using namespace std::chrono_literals;

constexpr int pins = 8;
constexpr int width = 620;
constexpr int height = 360;

using Clients = std::vector<std::unique_ptr<PinnedClient>>;

// Four columns of two, side by side on the bench's 2560 x 1600 screen.
ClientOptions placed(int index) {
    ClientOptions options = PinnedClient::optionsFor(width, height);
    options.x = 8 + (index % 4) * 636;
    options.y = 30 + (index / 4) * 430;
    return options;
}

struct Cost {
    double program = 0;
    double server = 0;
};

// All clients animate at 60 fps over one window; the CPU of the program and the server.
std::optional<Cost> animatedCost(Clients& clients, double seconds) {
    char command[64];
    std::snprintf(command, sizeof command, "animate 60 %.1f", seconds + 1.5);
    for (auto& client : clients) {
        FrameLine::discardAll(client->client());
        client->client().send(command);
    }
    std::this_thread::sleep_for(500ms);
    BenchDesktop& bench = BenchDesktop::shared();
    const pid_t program = bench.veltrin().pid(), server = bench.desktop().serverPid();
    const auto program0 = ProcessCpu::seconds(program), server0 = ProcessCpu::seconds(server);
    const int64_t startNs = monotonicNs();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const auto program1 = ProcessCpu::seconds(program), server1 = ProcessCpu::seconds(server);
    const double wall = millisecondsBetween(startNs, monotonicNs()) / 1000;
    std::this_thread::sleep_for(std::chrono::duration<double>(2.5));  // the animations end
    if (!program0 || !program1 || !server0 || !server1) return std::nullopt;
    return Cost{(*program1 - *program0) / wall * 100, (*server1 - *server0) / wall * 100};
}

std::string startAll(Clients& clients) {
    for (int i = 0; i < pins; ++i) {
        try {
            clients.push_back(std::make_unique<PinnedClient>(BenchDesktop::shared(), placed(i)));
        } catch (const std::exception& problem) {
            return problem.what();
        }
    }
    return "";
}

std::string pinAll(Clients& clients) {
    for (auto& client : clients)
        if (std::string error = client->pin(); !error.empty()) return error;
    return "";
}

std::string unpinAll(Clients& clients) {
    for (auto& client : clients)
        if (std::string error = client->unpin(); !error.empty()) return error;
    return "";
}

// One round: all pinned, then all unpinned; the threads are counted while pinned.
std::optional<std::map<std::string, double>> measureRound(Clients& clients, double seconds,
                                                          std::string& error) {
    if (error = pinAll(clients); !error.empty()) return std::nullopt;
    std::this_thread::sleep_for(1s);  // threads that only carried a start or a stop end
    BenchDesktop& bench = BenchDesktop::shared();
    const int pinnedThreads = ProcessCpu::threads(bench.veltrin().pid());
    const auto pinned = animatedCost(clients, seconds);
    if (error = unpinAll(clients); !error.empty()) return std::nullopt;
    const auto unpinned = animatedCost(clients, seconds);
    if (!pinned || !unpinned) {
        error = "the program or the server ended";
        return std::nullopt;
    }
    return std::map<std::string, double>{
        {"veltrin_pinned_pct", pinned->program},
        {"veltrin_unpinned_pct", unpinned->program},
        {"xserver_pinned_pct", pinned->server},
        {"xserver_unpinned_pct", unpinned->server},
        {"threads_beyond_idle", pinnedThreads - bench.startThreads()}};
}

void manyPins(benchmark::State& state, const BenchSettings& settings) {
    ClientScene::reset();
    Clients clients;
    if (const std::string error = startAll(clients); !error.empty())
        return state.SkipWithError(error.c_str());
    for (auto _ : state) {
        CpuRounds rounds;
        for (int index = 0; index < settings.cpuRounds; ++index) {
            std::string error;
            const auto counters = measureRound(clients, settings.cpuSeconds, error);
            if (!counters) return state.SkipWithError(error.c_str());
            rounds.add(*counters);
        }
        state.SetIterationTime(2 * settings.cpuSeconds * settings.cpuRounds);
        rounds.report(state);
    }
}

}  // namespace

void registerManyPinsCpu(const BenchSettings& settings) {
    benchmark::RegisterBenchmark("cpu/8_pins_animating_60fps/620x360",
                                 [=](benchmark::State& state) { manyPins(state, settings); })
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(1)
        ->Unit(benchmark::kSecond);
}
