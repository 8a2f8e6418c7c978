// The commands on the program's files and options: import, backup, load-backup and option.

#include <filesystem>
#include <ostream>

#include "app/Text.h"
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/OptionKeys.h"
#include "cli/Suggestion.h"
#include "locations/BackupEntries.h"
#include "locations/Import.h"
#include "store/SettingsDocument.h"

namespace kestrune::cli {

namespace {

constexpr const char* kOptionNotChanged = "the option was not changed";

std::string UnknownKeyText(std::string_view key) {
    std::vector<std::string> names;
    for (const OptionKey& option : AllOptionKeys()) names.emplace_back(option.key);
    return "unknown option \"" + std::string(key) + "\"" + DidYouMean(key, names) + " (keys: " + Join(names, ", ") +
           ")";
}

// Sets one option through the menu command that changes it, so that its side effects (the
// start-up shortcut, the monitor's timer) follow as in the desktop program.
void SetOption(CommandContext& context, const OptionKey& key, const std::string& value) {
    MainState& state = context.state();
    switch (key.type) {
        case OptionType::Flag:
            if (OptionValue(state, key) != value) (context.app.*key.toggle)();
            return;
        case OptionType::Number: {
            // Checked before start-up by the desktop's own rule (NormaliseOptionValue); set alone,
            // so that the other setting is left as it is whatever settings.ini holds for it.
            const auto number = static_cast<std::int16_t>(std::stoi(value));
            (IdleSettingOf(key) == IdleSetting::Threshold ? state.options.idleThreshold : state.options.idleSeconds) =
                number;
            return;
        }
        case OptionType::Text: break;  // a profile is made current by RunProfileUse
    }
}

}  // namespace

void CheckNothing(const Invocation&, ConsoleAnswers&) {}

int RunImport(CommandContext& context) { return context.Report(ImportStartupControlPanel(context.state())); }

int RunBackup(CommandContext& context) { return context.Report(BackupSettingsCommand(context.state())); }

void CheckLoadBackup(const Invocation& inv, ConsoleAnswers& answers) {
    // The name is UTF-8; a path made from a plain string would read it in Windows' ANSI code page.
    const std::u8string utf8Name(inv.file.begin(), inv.file.end());
    std::error_code ec;
    const auto file = std::filesystem::absolute(std::filesystem::path(utf8Name), ec);
    if (ec || !std::filesystem::is_regular_file(file, ec)) {
        throw CommandError(kExitRefused, "no backup file \"" + inv.file + "\"");
    }
    const std::u8string absolute = file.u8string();
    answers.files.emplace_back(absolute.begin(), absolute.end());
}

int RunLoadBackup(CommandContext& context) {
    return context.Report(LoadBackupAndOffer(context.state(), context.fe, context.inv.apply));
}

void CheckOption(const Invocation& inv, ConsoleAnswers&) {
    if (inv.action != "set") return;
    const OptionKey* key = FindOptionKey(inv.first);
    if (!key) throw CommandError(kExitUsage, UnknownKeyText(inv.first));
    if (!NormaliseOptionValue(*key, inv.second)) throw CommandError(kExitUsage, ValueRefusalText(*key, inv.second));
}

int RunOption(CommandContext& context) {
    MainState& state = context.state();
    if (context.inv.action != "set") {
        for (const OptionKey& key : AllOptionKeys()) context.out << key.key << "=" << OptionValue(state, key) << "\n";
        context.out << std::flush;
        return kExitDone;
    }
    const OptionKey& key = *FindOptionKey(context.inv.first);
    const std::string value = *NormaliseOptionValue(key, context.inv.second);
    if (key.type == OptionType::Text) return RunProfileUse(context, value);
    const bool already = OptionValue(state, key) == value;
    SetOption(context, key, value);
    if (OptionValue(state, key) != value) {
        // The program refused (its message has been printed) or cannot change it.
        context.err << kProgramName << ": " << kOptionNotChanged << std::endl;
        return kExitRefused;
    }
    const std::string quotedKey = "\"" + std::string(key.key) + "\"";
    context.out << (already ? quotedKey + " is already " + value : "set " + quotedKey + " to " + value) << std::endl;
    return kExitDone;
}

}  // namespace kestrune::cli
