#pragma once

#include "platform/Application.h"

// The application delegate: the launch sequence, and (elsewhere) the status item.
class AppDelegate : public platform::ApplicationDelegate {
  public:
    static constexpr const char* selfTestVariable = "QUELM_PIN_TEST";

    AppDelegate() = default;

    void applicationDidFinishLaunching() override;
    void registerLaunchCompletion();

  private:
    void armSelfTest();
    bool anotherCopyRuns();
    void requestScreenRecordingPrompt();
    void watchTerminatedApplications();
};
