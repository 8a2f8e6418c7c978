#pragma once
// What a Startup folder holds as Windows sees it at log-on: its shortcuts, and every other file
// it opens as a document (a script, an Internet shortcut). Such a file cannot be written again
// from a row's texts, so taking it out moves the file itself into a folder of the program's
// own, beside its settings, and putting it back moves it home under the same name.

#include <optional>
#include <string>
#include <vector>

#include "app/TableKind.h"
#include "platform/Platform.h"
#include "platform/Shell.h"

namespace kestrune {

struct Paths;

// Beside the settings; one folder per Startup folder, named after its tab ("User", "Common").
inline constexpr const char* kKeptFilesFolder = "Disabled startup files";

// One file of a Startup folder that Windows starts.
struct FolderEntry {
    std::string fileName;                        // as the folder lists it
    std::string name;                            // a shortcut's file name without its extension; a file's whole name
    std::string target;                          // a shortcut's target; the file itself for any other file
    std::string arguments;                       // a shortcut's arguments
    std::optional<platform::ShortcutInfo> link;  // every field of a shortcut
    bool startupFile = false;                    // not a shortcut: Windows opens the file itself
};

// The entries of one folder in the order it lists them: shortcuts with a target, and the files
// that are not shortcuts at all. A shortcut file without a file target (a printer, say) and the
// folder's "desktop.ini" start nothing and are left out. None when the folder is not there.
std::vector<FolderEntry> ReadStartupFolder(platform::Platform& platform, const std::string& folder);

// The name of a folder row's file in its folder: the shortcut's name and ".lnk", or a file's own.
std::string FolderFileName(const std::string& rowName, bool startupFile);

// A path in the program's kept-files folder of `kind` where `fileName` may wait without meeting
// another file kept there: the name itself, else "Name (2).ext", "Name (3).ext", ... The folder
// is not created here.
std::string FreeKeptFile(platform::Platform& platform, const Paths& paths, TableKind kind, const std::string& fileName);

// Moves a file between its Startup folder and the kept-files folder, creating the folder it goes
// to. The shell's status: 183 when a file of that name is there already.
platform::Status MoveStartupFile(platform::Platform& platform, const std::string& from, const std::string& to);

}  // namespace kestrune
