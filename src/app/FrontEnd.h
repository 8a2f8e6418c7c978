#pragma once
// What the core asks of whatever shows it to a person: the desktop window, the console, or a
// test's script. Every message and question of the program passes through here (its Prompts
// part) with its exact text, so a scripted front end can check and answer them.

#include <string>
#include <vector>

#include "app/IconPictures.h"
#include "app/Outcome.h"
#include "app/Prompts.h"

namespace kestrune {

class FrontEnd : public Prompts, public IconPictures {
public:
    // How a window shows what a command came to: its status line first, then its message
    // boxes in order.
    void ShowOutcome(const Outcome& outcome);

    virtual void SetStatus(const std::string& text) = 0;
    virtual void SetCaption(const std::string& text) = 0;
    // True while a message, question or dialog waits for the user: a command is half done, so
    // nothing may refill the tables under it.
    virtual bool QuestionOpen() const { return false; }

    virtual void MinimiseWindow() = 0;
    virtual void ShowWindowNormal() = 0;
    virtual void HideWindow() = 0;
    virtual void CentreWindow() = 0;
    // Shut-down: the window's current normal bounds (and the shown tab) go into the position
    // that settings.ini keeps, whether or not the window moved. Nothing for a front end
    // without a window.
    virtual void TakeWindowBounds() {}

    virtual void AddTrayIcon(const std::string& tip) = 0;
    virtual void RemoveTrayIcon() = 0;
    virtual void ShowBalloon(const std::string& title, const std::string& text, int timeoutMs) = 0;

    virtual void CopyToClipboard(const std::string& text) = 0;

    // Dialogs whose state the core keeps; each shows the dialog modally over that state.
    virtual void ShowItemEditor() = 0;
    virtual void ShowProfilesDialog() = 0;

    // Ends the program's event loop (after the shut-down sequence has run).
    virtual void Quit() = 0;
};

}  // namespace kestrune
