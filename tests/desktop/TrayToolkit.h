#pragma once

// The toolkit inside the test process, with no display (its offscreen platform), and the
// simulated desktop installed as the platform so that a test reads what the backend logged.

#include <gtest/gtest.h>

#include <string>

#include "platform/sim/SimDesktop.h"

class TrayToolkit : public testing::Test {
protected:
    static void SetUpTestSuite();
    TrayToolkit();
    ~TrayToolkit() override;

    // Everything logged during the test.
    std::string log();

    sim::SimDesktop desktop;
};
