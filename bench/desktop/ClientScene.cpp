#include "ClientScene.h"

#include <exception>

#include "BenchDesktop.h"

std::unique_ptr<PinnedClient>& ClientScene::current() {
    static std::unique_ptr<PinnedClient> client;
    return client;
}

std::string& ClientScene::failure() {
    static std::string failure;
    return failure;
}

PinnedClient* ClientScene::client(int width, int height, std::string& error) {
    auto& client = current();
    if (client && client->width() == width && client->height() == height) return client.get();
    client.reset();
    try {
        client = std::make_unique<PinnedClient>(BenchDesktop::shared(), width, height);
    } catch (const std::exception& problem) {
        error = problem.what();
        return nullptr;
    }
    return client.get();
}

PinnedClient* ClientScene::pinned(int width, int height, std::string& error) {
    if (!failure().empty()) {
        error = failure();
        return nullptr;
    }
    PinnedClient* client = ClientScene::client(width, height, error);
    if (client != nullptr) error = client->pin();
    if (error.empty()) return client;
    failure() = error;
    return nullptr;
}

void ClientScene::reset() {
    current().reset();
}
