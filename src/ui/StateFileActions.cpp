#include "ui/StateFileActions.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QVBoxLayout>

#include "app/Text.h"
#include "cli/StateFile.h"
#include "cli/TableOutput.h"
#include "desired/StateApply.h"
#include "session/Application.h"
#include "ui/IconStore.h"
#include "ui/MainMenus.h"
#include "ui/MainWindow.h"
#include "ui/QtFrontEnd.h"

namespace kestrune::ui {

namespace {

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The desktop's own front end: the menus exist only in the desktop program.
QtFrontEnd& Desktop(Application& app) { return dynamic_cast<QtFrontEnd&>(app.frontEnd()); }

// The list of what would change, with OK and Cancel.
class StateChangesDialog : public QDialog {
public:
    StateChangesDialog(const std::vector<StateDifference>& differences, QWidget* parent) : QDialog(parent) {
        setObjectName("frmStateChanges");
        setWindowTitle(kStateChangesTitle);
        setWindowIcon(IconStore::AppIcon());
        setModal(true);
        resize(640, 360);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(kStateChangesIntro, this));
        auto* list = new QListWidget(this);
        list->setObjectName("lstStateChanges");
        for (const StateDifference& d : differences) list->addItem(Q(DescribeDifference(d)));
        layout->addWidget(list, 1);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        layout->addWidget(buttons);
    }
};

std::string ExportText(MainState& state, ExportWhat what) {
    if (what == ExportWhat::StateFile) return cli::StateFileText(CaptureState(state.model.tables));
    std::vector<const Table*> tables;
    if (what == ExportWhat::AllTables) {
        for (TableKind kind : kAllTables) tables.push_back(&state.model.tables[kind]);
    } else if (const Table* current = state.CurrentTable()) {
        tables.push_back(current);
    }
    return cli::TablesToCsv(tables);
}

}  // namespace

void ExportFromDesktop(Application& app, ExportWhat what) {
    MainState& state = app.state();
    if (what == ExportWhat::CurrentTable && !state.CurrentTable()) return;
    QtFrontEnd& fe = Desktop(app);
    const std::string path =
        fe.ChooseSaveFile(what == ExportWhat::StateFile ? kStateFileFilter : kCsvFileFilter, state.paths.appFolder);
    if (path.empty()) return;
    if (!state.services.platform.files().WriteFileAtomic(path, ExportText(state, what))) {
        fe.ShowMessage(std::string(kExportFailed) + "\r\n" + path, MessageIcon::Exclamation);
        return;
    }
    fe.SetStatus(kExported + path);
}

void ApplyStateFileFromDesktop(Application& app) {
    MainState& state = app.state();
    QtFrontEnd& fe = Desktop(app);
    const std::string path = fe.ChooseFile(kStateFileFilter, state.paths.appFolder);
    if (path.empty()) return;
    const cli::ParsedState parsed = cli::ReadStateFile(state.services.platform.files(), path);
    if (!parsed.Ok()) {
        fe.ShowMessage(std::string(kNotAStateFile) + "\r\n" + path + "\r\n" + parsed.error, MessageIcon::Exclamation);
        return;
    }
    const std::vector<StateDifference> differences = CompareState(state.model.tables, parsed.state);
    if (differences.empty()) {
        fe.ShowMessage(kAlreadyMatches, MessageIcon::Information);
        return;
    }
    StateChangesDialog dialog(differences, &fe.Window());
    fe.RunModal(dialog);
    if (dialog.result() != QDialog::Accepted) {
        fe.SetStatus(kNotApplied);
        return;
    }
    const StateApplyResult result = ApplyDesiredState(state, parsed.state);
    for (const AppliedChange& change : result.changes)
        for (const OutcomeMessage& message : change.outcome.messages)
            fe.ShowMessage(message.text, message.icon, message.caption);
    const std::string summary = ApplySummaryLine(result, CountWanted(parsed.state));
    fe.SetStatus(summary);
    if (!result.Matches()) fe.ShowMessage(summary, MessageIcon::Exclamation);
}

void AddStateFileEntries(QMenu* file, Application& app) {
    Application* a = &app;
    QMenu* exportMenu = file->addMenu(WithMnemonic(Q(kExportCaption), file));
    const std::pair<std::string_view, ExportWhat> exports[] = {{kExportStateCaption, ExportWhat::StateFile},
                                                               {kExportTableCaption, ExportWhat::CurrentTable},
                                                               {kExportAllCaption, ExportWhat::AllTables}};
    for (const auto& [caption, what] : exports) {
        QObject::connect(exportMenu->addAction(WithMnemonic(Q(caption), exportMenu)), &QAction::triggered, file,
                         [a, what = what] { ExportFromDesktop(*a, what); });
    }
    QObject::connect(file->addAction(WithMnemonic(Q(kApplyStateCaption), file)), &QAction::triggered, file,
                     [a] { ApplyStateFileFromDesktop(*a); });
}

}  // namespace kestrune::ui
