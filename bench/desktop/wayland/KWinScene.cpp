#include "wayland/KWinScene.h"

#include <exception>

#include "wayland/KWinBench.h"

std::unique_ptr<KWinPinnedClient>& KWinScene::current() {
    static std::unique_ptr<KWinPinnedClient> client;
    return client;
}

std::string& KWinScene::failure() {
    static std::string failure;
    return failure;
}

KWinPinnedClient* KWinScene::client(int width, int height, std::string& error) {
    auto& client = current();
    if (client && client->width() == width && client->height() == height) return client.get();
    client.reset();
    try {
        client = std::make_unique<KWinPinnedClient>(KWinBench::shared(), width, height);
    } catch (const std::exception& problem) {
        error = problem.what();
    }
    return client.get();
}

KWinPinnedClient* KWinScene::pinned(int width, int height, std::string& error) {
    if (failure().empty())
        if (KWinPinnedClient* client = KWinScene::client(width, height, error))
            if (error = client->pin(); error.empty()) return client;
    if (failure().empty()) failure() = error;
    error = failure();
    return nullptr;
}

void KWinScene::reset() {
    current().reset();
}
