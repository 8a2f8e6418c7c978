#pragma once
// The operations of the kestrune-machine tool on one machine root. Each throws ToolError with
// a one-line text when it cannot do what was asked; output goes to the given stream.

#include <ostream>
#include <stdexcept>
#include <string>

#include "platform/emulated/EmulatedMachine.h"

namespace kestrune::tool {

class ToolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// --machine, else KESTRUNE_MACHINE, else "machine" in the program's folder.
std::string ChooseMachineRoot(const std::string& option);

class MachineTool {
public:
    explicit MachineTool(const std::string& root) : machine_(root) { machine_.IgnoreRefusals(); }

    // Creating the machine already laid it out; --demo adds the sample entries.
    void Init(bool demo);
    void RegSet(const std::string& key, const std::string& name, const std::string& data, const std::string& type);
    void RegDelete(const std::string& key, const std::string& name);
    void RegList(const std::string& key, std::ostream& out);
    void RegImport(const std::string& file);
    void RegExport(const std::string& key, const std::string& file);
    // An icon index of -1 (with no icon file) stands for the target's first icon.
    void LnkCreate(const std::string& file, platform::ShortcutInfo link);
    void LnkShow(const std::string& file, bool allFields, std::ostream& out);
    void Folder(const std::string& which, std::ostream& out);
    // Makes a key, a folder or a shortcut file refuse the program's changes (access denied), or
    // lets it change them again; with neither, lists what refuses.
    void Deny(const std::string& item);
    void Allow(const std::string& item);
    void ListDenied(std::ostream& out);
    // Writes the approval value of entry `name` of `place` (HKCU_Run, HKLM_Run, HKLM_Run32,
    // UserStartup or CommonStartup; a Startup entry by its file name) with the bytes Task
    // Manager writes when it switches the entry on or off.
    void Approve(const std::string& place, const std::string& name, bool enabled);

private:
    platform::EmulatedMachine machine_;
};

}  // namespace kestrune::tool
