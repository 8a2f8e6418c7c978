// The console program: runs the start-up and shut-down sequences against this machine.

#include <iostream>

#include "app/session/Application.h"

namespace {

class ConsoleFrontEnd final : public kestrune::FrontEnd {
public:
    void ShowMessage(const std::string& text, kestrune::MessageIcon, const std::string&) override {
        std::cerr << text << "\n";
    }
    bool AskYesNo(const std::string& text, kestrune::MessageIcon, const std::string&) override {
        std::cerr << text << " (answered No)\n";
        return false;
    }
    std::string InputBox(const std::string&, const std::string&, const std::string&) override { return {}; }
    std::string ChooseFile(const std::string&, const std::string&) override { return {}; }
    kestrune::MonitorAnswer AskMonitor(const std::string&) override { return {}; }
    void SetStatus(const std::string& text) override { std::cout << text << "\n"; }
    void SetCaption(const std::string&) override {}
    void SetControlsEnabled(bool, bool) override {}
    void SetTablesVisible(bool) override {}
    void ProcessEvents() override {}
    std::vector<int> SelectedRows(kestrune::TableKind) override { return {}; }
    void FitColumns(kestrune::TableKind) override {}
    void ShowTab(int) override {}
    bool LoadFileIcon(const std::string&, int) override { return false; }
    void MinimiseWindow() override {}
    void ShowWindowNormal() override {}
    void HideWindow() override {}
    void CentreWindow() override {}
    void AddTrayIcon(const std::string&) override {}
    void RemoveTrayIcon() override {}
    void ShowBalloon(const std::string&, const std::string&, int) override {}
    void CopyToClipboard(const std::string&) override {}
    void ShowItemEditor() override {}
    void ShowProfilesDialog() override {}
    void ShowDelayedWindow() override {}
    void HideDelayedWindow() override {}
    void DelayedWindowChanged() override {}
    void Quit() override {}
};

class NoTimers final : public kestrune::TimerFactory {
    class Idle final : public kestrune::Timer {
    public:
        void Start() override { running_ = true; }
        void Stop() override { running_ = false; }
        bool Running() const override { return running_; }

    private:
        bool running_ = false;
    };

public:
    std::unique_ptr<kestrune::Timer> Create(int, std::function<void()>) override { return std::make_unique<Idle>(); }
};

}  // namespace

int main(int argc, char** argv) {
    std::string commandLine;
    for (int i = 1; i < argc; ++i) commandLine += std::string(i > 1 ? " " : "") + argv[i];
    auto platform = kestrune::platform::CreatePlatform();
    ConsoleFrontEnd frontEnd;
    kestrune::SystemClock clock;
    NoTimers timers;
    kestrune::Application app(*platform, frontEnd, clock, timers);
    if (!app.Startup(commandLine)) return 0;
    app.Shutdown(kestrune::CloseReason::Code);
    return 0;
}
