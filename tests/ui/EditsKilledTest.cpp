// The desktop program killed while the user adds Delayed rows through the item editor: every
// row the window had shown as added must be in the settings document afterwards. The test runs
// itself as the desktop program (offscreen, on a real emulated machine in a temporary folder)
// and kills it at random moments.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <pugixml.hpp>
#include <random>
#include <set>
#include <thread>

#include "../cli/ChildProcess.h"
#include "app/Clock.h"
#include "platform/Platform.h"
#include "session/Application.h"
#include "support/TestMachine.h"
#include "ui/ItemEditorDialog.h"
#include "ui/QtFrontEnd.h"
#include "ui/QtTimers.h"

using namespace kestrune;

namespace {

constexpr const char* kChildFlag = "--add-rows-until-killed";
constexpr int kMostRowsPerRun = 200;

// The child: the desktop program on the given folders, adding rows "Desk<first>", ... through
// the editor, and saying after each one that the window shows it.
int AddRowsUntilKilled(const std::string& appFolder, const std::string& machineRoot, int first) {
    auto platform = platform::CreatePlatform({appFolder, machineRoot});
    SystemClock clock;
    ui::QtTimers timers;
    ui::QtFrontEnd fe;
    fe.Seam().active = true;
    Application app(*platform, fe, clock, timers);
    fe.Attach(app);
    if (!app.Startup("")) return 3;
    fe.ShowAfterStartup();
    app.SelectTab(Number(TableKind::Delayed) + 1);
    for (int i = first; i < first + kMostRowsPerRun; ++i) {
        const QString name = QString("Desk%1").arg(i);
        fe.Seam().playDialog = [&](QDialog& d) {
            auto& editor = static_cast<ui::ItemEditorDialog&>(d);
            editor.NameBox()->setText(name);
            editor.PathBox()->setText("/usr/bin/env true");
            QTest::mouseClick(editor.OkButton(), Qt::LeftButton);
        };
        app.NewItem();
        QApplication::processEvents();
        std::printf("added %s\n", name.toUtf8().constData());
        std::fflush(stdout);
    }
    return 0;
}

std::set<std::string> StoredDelayedNames(const std::string& document) {
    std::set<std::string> names;
    if (!std::filesystem::exists(document)) return names;
    pugi::xml_document doc;
    if (!doc.load_file(document.c_str())) {
        names.insert("<unreadable document>");
        return names;
    }
    for (pugi::xml_node item : doc.child("Root").child("Delayed").children())
        names.insert(item.child("name").text().get());
    return names;
}

std::string SelfPath() { return std::filesystem::read_symlink("/proc/self/exe").string(); }

}  // namespace

class EditsKilledTest : public QObject {
    Q_OBJECT
private slots:
    void everyRowShownAsAddedIsStoredWhenKilled();
};

void EditsKilledTest::everyRowShownAsAddedIsStoredWhenKilled() {
    constexpr int kRuns = 50;
    test::TempFolder folder;
    const std::string app = folder.Path() + "app";
    const std::string machine = folder.Path() + "machine";
    std::filesystem::create_directories(app);
    std::mt19937 random(20261210);
    // Counted from the first row shown: a run lives a few rows into its edits.
    std::uniform_int_distribution<int> moment(0, 40);
    std::set<std::string> shown;
    for (int run = 0; run < kRuns; ++run) {
        cli::test::BackgroundProcess child(SelfPath(),
                                           {kChildFlag, app, machine, std::to_string(run * kMostRowsPerRun)});
        QVERIFY(child.WaitForOutput("added ", std::chrono::seconds(30)));
        std::this_thread::sleep_for(std::chrono::milliseconds(moment(random)));
        child.Signal(SIGKILL);
        const cli::test::ProcessResult result = child.Wait();
        for (size_t at = result.out.find("added "); at != std::string::npos; at = result.out.find("added ", at + 1)) {
            const size_t end = result.out.find('\n', at);
            if (end == std::string::npos) break;  // cut off by the kill
            shown.insert(result.out.substr(at + 6, end - at - 6));
        }
        const std::set<std::string> stored = StoredDelayedNames(app + "/settings.xml");
        for (const std::string& name : shown)
            QVERIFY2(stored.contains(name),
                     (name + " was shown as added but is not stored, run " + std::to_string(run)).c_str());
    }
    QVERIFY(shown.size() >= kRuns);
}

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], kChildFlag) == 0) {
        QApplication qt(argc, argv);
        return AddRowsUntilKilled(argv[2], argv[3], std::atoi(argv[4]));
    }
    QApplication qt(argc, argv);
    EditsKilledTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "EditsKilledTest.moc"
