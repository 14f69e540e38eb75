#pragma once

#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "platform/sim/SimDesktop.h"
#include "simulate/ScenarioArgs.h"

// A scripted session on the simulated desktop: one command a line, run in order. Time only
// moves when a command says so ("at T ...", "wait S"), and then runs in simulated seconds.
class Scenario {
public:
    using Args = std::vector<std::string>;
    using Handler = std::function<void(Scenario&, const Args&)>;

    Scenario(sim::SimDesktop& desktop, std::ostream& out);

    // Runs the script; returns false (with a message on the error stream) at a bad line.
    bool run(const std::string& script, std::ostream& errors);

    void define(const std::string& name, size_t minArgs, std::string usage, Handler handler);
    // The handler of a defined command (empty when none), so a group can extend it.
    Handler handlerOf(const std::string& name) const;
    sim::SimDesktop& desktop() { return desktop_; }
    std::ostream& out() { return out_; }
    // Moves the clock to the given second (never backwards), running what falls due.
    void advanceTo(double seconds);
    // The pid of a running copy of the program: the word at index, or the first copy when
    // the line has no such word. Fails the line when that copy does not run.
    int32_t runningCopyAt(const Args& args, size_t index);

private:
    struct Command {
        size_t minArgs;
        std::string usage;
        Handler handler;
    };

    bool runLine(const Args& words, std::ostream& errors, size_t lineNumber);

    sim::SimDesktop& desktop_;
    std::ostream& out_;
    std::map<std::string, Command> commands_;
};

// A failed command: bad numbers, unknown names and the like.
struct ScenarioError {
    std::string message;
};

// Splits a line into words; "double quoted" words may hold spaces. A "#" at the start of
// a word starts a comment.
std::vector<std::string> scenarioWords(const std::string& line);
