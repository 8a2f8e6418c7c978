// `profile list|add|rename|delete|use`: the profiles dialog's buttons, pressed from the
// command line over the program's own profile list.

#include <ostream>

#include "app/Text.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "store/Profiles.h"

namespace kestrune::cli {

namespace {

constexpr const char* kCurrentMark = "* ";
constexpr const char* kOtherMark = "  ";

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string NoProfileText(const std::string& name) { return "no profile named " + Quoted(name); }

bool IsCurrent(const MainState& state, std::string_view entry) {
    const std::string current = state.paths.profile.empty() ? std::string(kDefaultProfile) : state.paths.profile;
    return EqualsIgnoreCase(current, entry);
}

// Selects a profile in the list as the user clicks it; CommandError when there is none.
void SelectProfile(ProfileList& list, const std::string& name) {
    const auto& entries = list.Entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (EqualsIgnoreCase(entries[i], name)) return list.Select(static_cast<int>(i));
    }
    throw CommandError(kExitRefused, NoProfileText(name));
}

// Opens the profiles dialog and, while it is open, does what the user would do in it.
template <typename Action>
void InProfilesDialog(CommandContext& context, Action action) {
    context.fe.onProfilesDialog = [&] { action(context.app.profiles()); };
    context.app.OpenProfiles();
    context.fe.onProfilesDialog = nullptr;
}

}  // namespace

void CheckProfile(const Invocation& inv, ConsoleAnswers&) {
    if (inv.action == "add" || inv.action == "rename") {
        const std::string& name = (inv.action == "add" ? inv.first : inv.second);
        if (Trim(name).empty()) throw CommandError(kExitUsage, "a profile name cannot be empty");
        // A name becomes a file name beside the program; one that no system allows is refused
        // before anything starts (the dialog's own check adds this system's rules).
        if (const auto problem = ProfileNameProblem(name, FileNaming::Posix))
            throw CommandError(kExitRefused, *problem);
    }
}

int RunProfileUse(CommandContext& context, const std::string& name) {
    const std::string wanted = name.empty() ? std::string(kDefaultProfile) : name;
    const bool already = IsCurrent(context.state(), wanted);
    InProfilesDialog(context, [&](ProfileList& list) {
        SelectProfile(list, wanted);
        context.app.UseSelectedProfile();
    });
    if (!IsCurrent(context.state(), wanted)) return kExitRefused;
    context.out << (already ? "profile " + Quoted(wanted) + " is already in use"
                            : "now using profile " + Quoted(wanted))
                << std::endl;
    return kExitDone;
}

int RunProfile(CommandContext& context) {
    const Invocation& inv = context.inv;
    MainState& state = context.state();
    ProfileList& list = context.app.profiles();
    const auto before = list.Entries();

    if (inv.action == "list") {
        for (const std::string& entry : list.Entries()) {
            context.out << (IsCurrent(state, entry) ? kCurrentMark : kOtherMark) << entry << "\n";
        }
        context.out << std::flush;
        return kExitDone;
    }
    if (inv.action == "use") return RunProfileUse(context, inv.first);

    if (inv.action == "add") {
        InProfilesDialog(context, [&](ProfileList&) {
            context.fe.QueueInput(inv.first);
            context.app.AddProfile();
        });
        if (list.Entries().size() <= before.size()) return kExitRefused;
        context.out << "added profile " << Quoted(inv.first) << std::endl;
        return kExitDone;
    }
    if (inv.action == "rename") {
        const std::string& newName = inv.second;
        InProfilesDialog(context, [&](ProfileList& profiles) {
            SelectProfile(profiles, inv.first);
            context.fe.QueueInput(newName);
            context.app.EditProfile();
        });
        if (list.Entries() == before) return kExitRefused;
        context.out << "renamed profile " << Quoted(inv.first) << " to " << Quoted(newName) << std::endl;
        return kExitDone;
    }
    // delete: the desktop keeps its dialog open until another profile is chosen when the one
    // in use is deleted; a command cannot wait for that, so it refuses before deleting.
    const std::string& name = inv.first;
    if (IsCurrent(state, name) && !EqualsIgnoreCase(name, kDefaultProfile)) {
        throw CommandError(kExitRefused, "profile \"" + name + "\" is in use; make another profile current first");
    }
    InProfilesDialog(context, [&](ProfileList& profiles) {
        SelectProfile(profiles, name);
        context.app.DeleteProfile();
    });
    if (list.Entries().size() >= before.size()) return kExitRefused;
    context.out << "deleted profile " << Quoted(name) << std::endl;
    return kExitDone;
}

}  // namespace kestrune::cli
