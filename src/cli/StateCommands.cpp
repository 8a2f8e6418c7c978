// export, check and apply: the machine described as a state file, compared with one, and
// brought to one. What `check` prints first is one line short enough for a management
// console's report; the exit status is what a detection script hands on (0 matches, 1 drifts).

#include <iostream>
#include <ostream>

#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/StateFile.h"
#include "desired/StateApply.h"
#include "desired/StateCompare.h"

namespace kestrune::cli {

namespace {

using OrderedJson = nlohmann::ordered_json;

constexpr const char* kStandardInput = "-";
constexpr const char* kCannotWrite = "cannot write the state file ";
constexpr const char* kWroteState = "wrote the state of ";
constexpr const char* kWouldChange = "Kestrune state would change: ";
constexpr const char* kWouldPrefix = "would ";
constexpr const char* kDscFormat = "dsc";

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

bool Json(const Invocation& inv) { return inv.format == "json"; }

// The machine's state, cut to the places and sections the wanted state names.
DesiredState ActualStateOf(const Tables& tables, const DesiredState& wanted) {
    DesiredState actual = CaptureState(tables);
    for (auto place = actual.places.begin(); place != actual.places.end();) {
        const auto named = wanted.places.find(place->first);
        if (named == wanted.places.end()) {
            place = actual.places.erase(place);
            continue;
        }
        place->second.mode = named->second.mode;
        ++place;
    }
    if (!wanted.delayed) actual.delayed.reset();
    if (!wanted.known) actual.known.reset();
    if (!wanted.processes) actual.processes.reset();
    return actual;
}

std::string ReadStandardInput() {
    std::string text;
    char buffer[64 * 1024];
    while (std::cin.read(buffer, sizeof buffer) || std::cin.gcount() > 0) {
        text.append(buffer, static_cast<size_t>(std::cin.gcount()));
        if (text.size() > kMaxStateFileBytes) break;  // enough to refuse it
    }
    return text;
}

// The state file the command line names, read and checked before anything changes; any fault
// ends the command with status 2 and one line that says what is wrong.
DesiredState ReadWantedState(CommandContext& context) {
    const std::string& file = context.inv.file;
    ParsedState parsed = file == kStandardInput ? ParseStateFile(ReadStandardInput())
                                                : ReadStateFile(context.state().services.platform.files(), file);
    if (!parsed.Ok()) throw CommandError(kExitUsage, Quoted(file) + ": " + parsed.error);
    return std::move(parsed.state);
}

OrderedJson DifferencesJson(const std::vector<StateDifference>& differences) {
    OrderedJson list = OrderedJson::array();
    for (const StateDifference& d : differences) list.push_back(DifferenceJson(d));
    return list;
}

void PrintJson(std::ostream& out, const OrderedJson& json) {
    out << json.dump(-1, ' ', false, OrderedJson::error_handler_t::replace) << '\n' << std::flush;
}

std::string CountText(size_t n) { return std::to_string(n) + " change(s)"; }

int ApplyCheckOnly(CommandContext& context, const DesiredState& wanted) {
    const std::vector<StateDifference> differences = CompareState(context.state().model.tables, wanted);
    const std::string summary = differences.empty() ? SummaryLine(differences, CountWanted(wanted))
                                                    : kWouldChange + CountText(differences.size());
    if (Json(context.inv)) {
        OrderedJson json;
        json["summary"] = summary;
        json["changed"] = !differences.empty();
        json["check"] = true;
        json["changes"] = DifferencesJson(differences);
        PrintJson(context.out, json);
    } else {
        context.out << summary << '\n';
        for (const StateDifference& d : differences) context.out << kWouldPrefix << DescribeDifference(d) << '\n';
        context.out << std::flush;
    }
    return kExitDone;
}

}  // namespace

void CheckExport(const Invocation& inv, ConsoleAnswers&) {
    if (inv.mode != "listed" && inv.mode != "exact")
        throw CommandError(kExitUsage, "--mode must be listed or exact, not " + Quoted(inv.mode));
}

int RunExport(CommandContext& context) {
    const PlaceMode mode = context.inv.mode == "exact" ? PlaceMode::Exact : PlaceMode::Listed;
    const DesiredState state = CaptureState(context.state().model.tables, mode);
    const std::string text = StateFileText(state);
    const std::string& file = context.inv.file;
    if (file.empty() || file == kStandardInput) {
        context.out << text << std::flush;
        return kExitDone;
    }
    if (!context.state().services.platform.files().WriteFileAtomic(file, text))
        throw CommandError(kExitRefused, kCannotWrite + Quoted(file));
    context.out << kWroteState << CountWanted(state) << " entries to " << file << '\n' << std::flush;
    return kExitDone;
}

void CheckStateCommand(const Invocation& inv, ConsoleAnswers&) {
    if (inv.file.empty()) throw CommandError(kExitUsage, "name the state FILE (- for standard input)");
    const bool dsc = inv.command == "check" && inv.format == kDscFormat;
    if (inv.format != "text" && inv.format != "json" && !dsc)
        throw CommandError(kExitUsage, "--format must be text or json, not " + Quoted(inv.format));
}

int RunCheck(CommandContext& context) {
    const DesiredState wanted = ReadWantedState(context);
    const std::vector<StateDifference> differences = CompareState(context.state().model.tables, wanted);
    if (context.inv.format == kDscFormat) {
        // A configuration engine's test: the actual state of what the instance names, and
        // whether it is the wanted one; a non-zero status would read as a failure there.
        OrderedJson json = OrderedJson::parse(StateFileText(ActualStateOf(context.state().model.tables, wanted)));
        json["_inDesiredState"] = differences.empty();
        PrintJson(context.out, json);
        return kExitDone;
    }
    const std::string summary = SummaryLine(differences, CountWanted(wanted));
    if (Json(context.inv)) {
        OrderedJson json;
        json["summary"] = summary;
        json["matches"] = differences.empty();
        json["differences"] = DifferencesJson(differences);
        PrintJson(context.out, json);
    } else {
        context.out << summary << '\n';
        for (const StateDifference& d : differences) context.out << DescribeDifference(d) << '\n';
        context.out << std::flush;
    }
    return differences.empty() ? kExitDone : kExitRefused;
}

int RunApply(CommandContext& context) {
    const DesiredState wanted = ReadWantedState(context);
    if (context.inv.checkOnly) return ApplyCheckOnly(context, wanted);

    const StateApplyResult result = ApplyDesiredState(context.state(), wanted);
    const std::string summary = ApplySummaryLine(result, CountWanted(wanted));
    // Why a change was refused goes to standard error, as the other commands' messages do.
    for (const AppliedChange& change : result.changes)
        for (const OutcomeMessage& message : change.outcome.messages)
            context.fe.ShowMessage(message.text, message.icon, message.caption);
    if (Json(context.inv)) {
        OrderedJson json;
        json["summary"] = summary;
        json["changed"] = result.Changed();
        json["matches"] = result.Matches();
        OrderedJson changes = OrderedJson::array();
        for (const AppliedChange& change : result.changes) {
            OrderedJson item = DifferenceJson(change.difference);
            item["result"] = std::string(ResultWord(change.outcome));
            item["details"] = change.outcome.details;
            OrderedJson messages = OrderedJson::array();
            for (const OutcomeMessage& message : change.outcome.messages) messages.push_back(message.text);
            item["messages"] = std::move(messages);
            changes.push_back(std::move(item));
        }
        json["changes"] = std::move(changes);
        json["remaining"] = DifferencesJson(result.remaining);
        PrintJson(context.out, json);
    } else {
        context.out << summary << '\n';
        for (const AppliedChange& change : result.changes)
            for (const std::string& line : change.outcome.details) context.out << line << '\n';
        for (const StateDifference& d : result.remaining) context.out << DescribeDifference(d) << '\n';
        context.out << std::flush;
    }
    return result.Matches() ? kExitDone : kExitRefused;
}

}  // namespace kestrune::cli
