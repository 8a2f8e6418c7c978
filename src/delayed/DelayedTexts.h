#pragma once
// The texts of the delayed run: status lines, log lines, captions, prompts and messages.

namespace kestrune {

inline constexpr const char* kRunDelayedCaption = "Run delayed applications";
inline constexpr const char* kStopDelayedCaption = "Stop running delayed applications";

inline constexpr const char* kRunningDelayed = "Running delayed applications...";
inline constexpr const char* kSecondsHavePassed = " seconds have passed";
inline constexpr const char* kCpuOpen = "CPU (";
inline constexpr const char* kCpuIdleFor = "%) idle for ";
inline constexpr const char* kSeconds = " second(s)";
inline constexpr const char* kCpuNotIdle = "%) is not idle yet...";
inline constexpr const char* kStartingIdleApps = "Starting applications to be run when idle";
inline constexpr const char* kFinishedDelayed = "Finished running delayed applications.";
inline constexpr const char* kDelayedStopped = "Delayed applications stopped.";

inline constexpr const char* kSkipping = "Skipping ";
inline constexpr const char* kRunning = "Running ";
inline constexpr const char* kSkippingRunningProcess = "Skipping running process: ";
inline constexpr const char* kErrorRunning = "Error running ";
inline constexpr const char* kError = "Error ";
inline constexpr const char* kErrorSeparator = " - ";

inline constexpr const char* kAllIdleDone = "All delayed items have been set to run when idle";
inline constexpr const char* kIdleThresholdPrompt =
    "Please enter the CPU threshold for what should be considered as 'idle' (1-100):";
inline constexpr const char* kIdleSecondsPrompt = "Please enter the time in seconds the CPU should be 'idle' for:";
inline constexpr const char* kIdleSettingsNotChanged = "The idle settings have not been changed.";

inline constexpr const char* kSelfShortcutName = "Kestrune";
inline constexpr const char* kSlimlineArgument = "slimline";
inline constexpr const char* kNeedsRunOnStartup =
    "Kestrune needs to be set to start up with Windows\r\nin order to run the delayed applications.";

}  // namespace kestrune
