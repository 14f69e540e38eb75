#pragma once

struct pw_stream;
struct spa_source;

namespace desktop {

class PipeWireLoop;

// Sets a producer going again after it renegotiated the format (a window's new size).
// KWin 5.27 stops sending when it renegotiates and sends again only once its stream has
// been paused and resumed, which PipeWire does not do for a renegotiation; a paused and
// resumed consumer brings that about, and the producer answers with a whole new picture.
// Until a frame comes, the restart is repeated a few times, since a restart that falls
// between the steps of the renegotiation may be lost. Used under the loop's lock only.
class PipeWireRestarts {
public:
    PipeWireRestarts(PipeWireLoop& loop, pw_stream* stream);
    ~PipeWireRestarts();
    PipeWireRestarts(const PipeWireRestarts&) = delete;
    PipeWireRestarts& operator=(const PipeWireRestarts&) = delete;

    // The format changed while frames flowed: restart now, and again until a frame comes.
    void renegotiated();
    void frameArrived();

private:
    void restart();
    void tick();
    void arm(bool on);

    PipeWireLoop& loop_;
    pw_stream* const stream_;
    spa_source* timer_ = nullptr;
    int left_ = 0;  // restarts still to try while no frame comes
};

}  // namespace desktop
