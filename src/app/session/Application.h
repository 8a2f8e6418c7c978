#pragma once
// The program's one state-owning object, standing for the main window: it holds the shared
// state and each part's own state, runs the start-up and shut-down sequences, owns the three
// timers and routes the menu commands to the parts that carry them out.

#include <functional>
#include <memory>
#include <string>

#include "app/Clock.h"
#include "app/FrontEnd.h"
#include "app/MainState.h"
#include "platform/Platform.h"

namespace kestrune {

enum class CloseReason { User, Code, System };

class Application {
public:
    Application(platform::Platform& platform, FrontEnd& frontEnd, Clock& clock, TimerFactory& timers);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The start-up sequence. False when another copy of the program is running: this copy has
    // then written its "Exiting" line and must end without a shut-down.
    bool Startup(const std::string& commandLine);
    // The shut-down sequence for a close request. False when the request was turned into a
    // trip to the tray (nothing else happened).
    bool Shutdown(CloseReason reason);
    // "Exit": the "Exiting" log line, the shut-down sequence, and the end of the event loop.
    void CloseDown();

    MainState& state() { return state_; }

    // Called with each start-up step's number as it begins (tests follow the order with it).
    std::function<void(int step)> onStartupStep;

private:
    void Step(int number);

    MainState state_;
    TimerFactory& timers_;
    bool shutDown_ = false;
};

// "Kestrune - v1.0.0": the caption without a profile.
std::string VersionCaption();
// The log line of an exit: "Exiting Kestrune".
std::string ExitingLine();

}  // namespace kestrune
