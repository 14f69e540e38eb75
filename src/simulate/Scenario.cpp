#include "simulate/Scenario.h"

#include <sstream>

Scenario::Scenario(sim::SimDesktop& desktop, std::ostream& out) : desktop_(desktop), out_(out) {}

void Scenario::define(const std::string& name, size_t minArgs, std::string usage, Handler handler) {
    commands_[name] = {minArgs, std::move(usage), std::move(handler)};
}

Scenario::Handler Scenario::handlerOf(const std::string& name) const {
    const auto found = commands_.find(name);
    return found == commands_.end() ? Handler() : found->second.handler;
}

void Scenario::advanceTo(double seconds) {
    if (seconds > scenarioArgs::maxSeconds)
        throw ScenarioError{"the clock stops at " +
                            std::to_string(static_cast<int64_t>(scenarioArgs::maxSeconds)) +
                            " seconds"};
    if (seconds > desktop_.now()) desktop_.advance(seconds - desktop_.now());
    desktop_.runUntilIdle();
}

int32_t Scenario::runningCopyAt(const Args& args, size_t index) {
    const int32_t pid = args.size() > index ? scenarioPid(args[index]) : scenarioArgs::defaultCopy;
    if (!desktop_.copyRunning(pid))
        throw ScenarioError{"no running copy of the program with pid " + std::to_string(pid)};
    return pid;
}

bool Scenario::run(const std::string& script, std::ostream& errors) {
    std::istringstream lines(script);
    std::string line;
    size_t lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        Args words;
        try {
            words = scenarioWords(line);
        } catch (const ScenarioError& error) {
            errors << "line " << lineNumber << ": " << error.message << "\n";
            return false;
        }
        if (!words.empty() && !runLine(words, errors, lineNumber)) return false;
    }
    desktop_.runUntilIdle();
    return true;
}

bool Scenario::runLine(const Args& words, std::ostream& errors, size_t lineNumber) {
    size_t first = 0;
    try {
        if (words[0] == "at") {
            if (words.size() < 3) throw ScenarioError{"usage: at SECONDS COMMAND ..."};
            advanceTo(scenarioSeconds(words[1]));
            first = 2;
        }
        const auto found = commands_.find(words[first]);
        if (found == commands_.end())
            throw ScenarioError{"unknown command \"" + words[first] + "\""};
        const Args args(words.begin() + static_cast<long>(first) + 1, words.end());
        if (args.size() < found->second.minArgs)
            throw ScenarioError{"usage: " + found->second.usage};
        found->second.handler(*this, args);
        desktop_.runUntilIdle();
    } catch (const ScenarioError& error) {
        errors << "line " << lineNumber << ": " << error.message << "\n";
        return false;
    }
    return true;
}

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

}  // namespace

std::vector<std::string> scenarioWords(const std::string& line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        if (isBlank(line[i])) {
            ++i;
        } else if (line[i] == '#' && (i == 0 || isBlank(line[i - 1]))) {
            break;
        } else if (line[i] == '"') {
            const size_t close = line.find('"', i + 1);
            if (close == std::string::npos) throw ScenarioError{"unclosed quote"};
            words.push_back(line.substr(i + 1, close - i - 1));
            i = close + 1;
        } else {
            const size_t end = line.find_first_of(" \t\r", i);
            words.push_back(line.substr(i, end == std::string::npos ? end : end - i));
            i = end == std::string::npos ? line.size() : end;
        }
    }
    return words;
}
