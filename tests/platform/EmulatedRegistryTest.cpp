// The emulated registry as the program and other processes use it at the same time.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/emulated/EmulatedMachine.h"
#include "platform/emulated/EmulatedRegistry.h"
#include "platform/emulated/MachineLayout.h"
#include "support/TestMachine.h"

namespace kestrune::platform {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::SamplePath;
using test::WriteText;

const std::string kRun(kRunKey);

RegistryValue Text(std::string name, std::string data) { return {std::move(name), ValueType::String, std::move(data)}; }

std::vector<std::string> Names(Registry& registry, RootKey root, const std::string& key) {
    std::vector<std::string> names;
    for (const RegistryValue& value : registry.EnumValues(root, key).value_or(std::vector<RegistryValue>{}))
        names.push_back(value.name);
    return names;
}

TEST(EmulatedRegistryTest, ANewMachineHasTheStartUpPlacesOfWindows) {
    test::TestMachine machine;
    Registry& registry = machine.platform->registry();
    Shell& shell = machine.platform->shell();
    EXPECT_TRUE(registry.KeyExists(RootKey::LocalMachine, kRunKey));
    EXPECT_TRUE(registry.KeyExists(RootKey::LocalMachine, kRunOnceKey));
    EXPECT_TRUE(registry.KeyExists(RootKey::CurrentUser, kRunKey));
    EXPECT_TRUE(registry.KeyExists(RootKey::LocalMachine, "software\\MICROSOFT"));
    EXPECT_TRUE(registry.KeyExists(RootKey::CurrentUser, kRunOnceKey));
    EXPECT_TRUE(registry.InView(platform::RegistryView::Bits32).KeyExists(RootKey::LocalMachine, kRunKey));
    EXPECT_TRUE(registry.KeyExists(RootKey::LocalMachine, kRunOnce32Key));
    EXPECT_FALSE(registry.KeyExists(RootKey::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies"))
        << "a machine without policies has no policy keys";
    EXPECT_EQ(registry.EnumValues(RootKey::LocalMachine, kRunKey)->size(), 0u);
    for (const char* file : {"HKEY_LOCAL_MACHINE.reg", "HKEY_CURRENT_USER.reg", "HKEY_DYN_DATA.reg"})
        EXPECT_TRUE(fs::is_regular_file(machine.machineRoot + "/" + file)) << file;

    const auto startup = registry.QueryValue(RootKey::CurrentUser, kShellFoldersKey, "startup");
    ASSERT_TRUE(startup);
    EXPECT_TRUE(fs::is_directory(startup->data));
    EXPECT_NE(startup->data.back(), '/');
    EXPECT_EQ(shell.SpecialFolder(kCsidlStartup), startup->data + "/");
    const std::string common = shell.SpecialFolder(kCsidlCommonStartup);
    ASSERT_FALSE(common.empty());
    EXPECT_EQ(common.back(), '/');
    EXPECT_TRUE(fs::is_directory(common));
    EXPECT_NE(common, shell.SpecialFolder(kCsidlStartup));
    EXPECT_EQ(shell.SpecialFolder(5), "");
    EXPECT_TRUE(fs::is_directory(machine.platform->system().SystemFolder()));
}

TEST(EmulatedRegistryTest, NamesIgnoreCaseAndValuesKeepTheirCreationOrder) {
    test::TestMachine machine;
    Registry& registry = machine.platform->registry();
    for (const char* name : {"Zeta", "alpha", "Mid", ""}) {
        EXPECT_TRUE(registry.SetValue(RootKey::LocalMachine, kRun, Text(name, std::string("/usr/bin/") + name)).Ok());
    }
    EXPECT_EQ(Names(registry, RootKey::LocalMachine, kRun), (std::vector<std::string>{"Zeta", "alpha", "Mid", ""}));

    // Replacing a value keeps its place and its first spelling.
    EXPECT_TRUE(registry
                    .SetValue(RootKey::LocalMachine, "software\\microsoft\\windows\\currentversion\\RUN",
                              Text("ALPHA", "/usr/bin/env"))
                    .Ok());
    EXPECT_EQ(Names(registry, RootKey::LocalMachine, kRun), (std::vector<std::string>{"Zeta", "alpha", "Mid", ""}));
    EXPECT_EQ(registry.QueryValue(RootKey::LocalMachine, kRun, "Alpha")->data, "/usr/bin/env");
    EXPECT_EQ(registry.QueryValue(RootKey::LocalMachine, kRun, "")->data, "/usr/bin/");

    // Deleted and written again, a value moves to the end.
    EXPECT_TRUE(registry.DeleteValue(RootKey::LocalMachine, kRun, "zeta").Ok());
    EXPECT_FALSE(registry.QueryValue(RootKey::LocalMachine, kRun, "Zeta"));
    EXPECT_TRUE(registry.SetValue(RootKey::LocalMachine, kRun, Text("Zeta", "z")).Ok());
    EXPECT_EQ(Names(registry, RootKey::LocalMachine, kRun), (std::vector<std::string>{"alpha", "Mid", "", "Zeta"}));

    // A second view of the same machine reads the same.
    EmulatedRegistry other(machine.machineRoot);
    EXPECT_EQ(Names(other, RootKey::LocalMachine, kRun), (std::vector<std::string>{"alpha", "Mid", "", "Zeta"}));
}

TEST(EmulatedRegistryTest, MissingKeysAndValuesAnswerFileNotFound) {
    test::TestMachine machine;
    Registry& registry = machine.platform->registry();
    const std::string missing = "Software\\Nobody\\Here";
    EXPECT_EQ(registry.SetValue(RootKey::CurrentUser, missing, Text("a", "b")).code, kErrorFileNotFound);
    EXPECT_EQ(registry.DeleteValue(RootKey::CurrentUser, kRun, "absent").code, kErrorFileNotFound);
    EXPECT_EQ(registry.DeleteValue(RootKey::CurrentUser, missing, "a").code, kErrorFileNotFound);
    EXPECT_FALSE(registry.EnumValues(RootKey::CurrentUser, missing));
    EXPECT_FALSE(registry.QueryValue(RootKey::CurrentUser, missing, "a"));

    EXPECT_TRUE(registry.CreateKey(RootKey::CurrentUser, missing).Ok());
    EXPECT_TRUE(registry.CreateKey(RootKey::CurrentUser, "SOFTWARE\\nobody\\HERE").Ok());
    EXPECT_TRUE(registry.KeyExists(RootKey::CurrentUser, "Software\\Nobody"));
    EXPECT_TRUE(registry.SetValue(RootKey::CurrentUser, missing, Text("a", "b")).Ok());
    EXPECT_EQ(registry.EnumValues(RootKey::CurrentUser, missing)->size(), 1u);
}

TEST(EmulatedRegistryTest, SeesChangesThatAnotherProcessMadeToTheFile) {
    test::TestMachine machine;
    Registry& registry = machine.platform->registry();
    EXPECT_TRUE(registry.EnumValues(RootKey::CurrentUser, kRun)->empty());
    EmulatedRegistry other(machine.machineRoot);
    ASSERT_TRUE(other.SetValue(RootKey::CurrentUser, kRun, Text("Late", "/usr/bin/sleep 5")).Ok());
    ASSERT_TRUE(registry.QueryValue(RootKey::CurrentUser, kRun, "late"));

    // A hand edit of the same size in the same instant must not be missed either.
    const std::string path = machine.machineRoot + "/HKEY_CURRENT_USER.reg";
    std::string text = ReadText(path);
    text.replace(text.find("sleep 5"), 7, "sleep 6");
    WriteText(path + ".new", text);
    fs::rename(path + ".new", path);
    EXPECT_EQ(registry.QueryValue(RootKey::CurrentUser, kRun, "Late")->data, "/usr/bin/sleep 6");
}

TEST(EmulatedRegistryTest, ADamagedFileReadsAsAbsentIsReportedOnceAndIsNeverWritten) {
    test::TestMachine machine;
    Registry& registry = machine.platform->registry();
    ASSERT_TRUE(registry.SetValue(RootKey::LocalMachine, kRun, Text("Keep", "/usr/bin/top")).Ok());
    const std::string path = machine.machineRoot + "/HKEY_LOCAL_MACHINE.reg";
    const std::string damaged = ReadText(path) + "\"Half\"=hex:00,01,\\\r\n";
    WriteText(path, damaged);

    EXPECT_FALSE(registry.KeyExists(RootKey::LocalMachine, kRun));
    EXPECT_FALSE(registry.EnumValues(RootKey::LocalMachine, kRun));
    EXPECT_FALSE(registry.QueryValue(RootKey::LocalMachine, kRun, "Keep"));
    EXPECT_EQ(registry.SetValue(RootKey::LocalMachine, kRun, Text("New", "x")).code, kErrorRegistryCorrupt);
    EXPECT_EQ(registry.CreateKey(RootKey::LocalMachine, "Software\\More").code, kErrorRegistryCorrupt);
    EXPECT_EQ(registry.DeleteValue(RootKey::LocalMachine, kRun, "Keep").code, kErrorRegistryCorrupt);
    EXPECT_EQ(ReadText(path), damaged);

    const std::vector<std::string> problems = registry.TakeProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find(path), std::string::npos);
    EXPECT_NE(problems[0].find("line "), std::string::npos);
    EXPECT_TRUE(registry.TakeProblems().empty());
    // The other roots carry on.
    EXPECT_TRUE(registry.SetValue(RootKey::CurrentUser, kRun, Text("Fine", "/usr/bin/env")).Ok());

    // A later start on the same machine must not "repair" the file with an empty layout.
    EmulatedMachine again(machine.machineRoot);
    EXPECT_EQ(ReadText(path), damaged);
}

TEST(EmulatedRegistryTest, TwoProcessesAddingFiveHundredValuesEachLoseNone) {
    test::TempFolder temp;
    const std::string root = temp.Path() + "machine";
    EmulatedMachine prepared(root);
    constexpr int kEach = 500;
    std::vector<pid_t> children;
    for (const char* prefix : {"first-", "second-"}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            EmulatedRegistry registry(root);
            int failures = 0;
            for (int i = 0; i < kEach; ++i) {
                const std::string name = prefix + std::to_string(i);
                if (!registry.SetValue(RootKey::CurrentUser, kRun, Text(name, "/usr/bin/sleep " + std::to_string(i)))
                         .Ok())
                    ++failures;
            }
            ::_exit(failures > 100 ? 100 : failures);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "writes that failed in one child";
    }
    const auto values = EmulatedRegistry(root).EnumValues(RootKey::CurrentUser, kRun);
    ASSERT_TRUE(values);
    EXPECT_EQ(values->size(), 2u * kEach);
    for (const char* prefix : {"first-", "second-"}) {
        for (int i = 0; i < kEach; i += 97) {
            const auto value = prepared.registry().QueryValue(RootKey::CurrentUser, kRun, prefix + std::to_string(i));
            ASSERT_TRUE(value) << prefix << i;
            EXPECT_EQ(value->data, "/usr/bin/sleep " + std::to_string(i));
        }
    }
}

TEST(EmulatedRegistryTest, ImportsAnExportAndExportsWhatItHolds) {
    test::TempFolder temp;
    const std::string copy = temp.Path() + "run_hklm.reg";
    WriteText(copy, ReadText(SamplePath("run_hklm.reg")));
    EmulatedMachine machine(temp.Path() + "machine");
    EmulatedRegistry& registry = machine.emulatedRegistry();
    ASSERT_TRUE(registry.SetValue(RootKey::LocalMachine, kRun, Text("Existing", "/usr/bin/top")).Ok());

    const RegFileParse parsed = ParseRegFile(ReadText(copy));
    ASSERT_TRUE(parsed.file);
    ASSERT_TRUE(registry.Import(*parsed.file).Ok());
    EXPECT_EQ(registry.EnumValues(RootKey::LocalMachine, kRun)->size(), 8u);
    EXPECT_EQ(registry.QueryValue(RootKey::LocalMachine, kRun, "audio tray")->data,
              "\"C:\\Program Files\\Audio\\tray.exe\" -s");

    const auto exported = registry.Export(RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion");
    ASSERT_TRUE(exported);
    const RegFileParse reread = ParseRegFile(FormatRegFile(*exported));
    ASSERT_TRUE(reread.file);
    EmulatedMachine other(temp.Path() + "other");
    ASSERT_TRUE(other.emulatedRegistry().Import(*reread.file).Ok());
    const auto copied = other.registry().EnumValues(RootKey::LocalMachine, kRun);
    const auto original = registry.EnumValues(RootKey::LocalMachine, kRun);
    ASSERT_EQ(copied->size(), original->size());
    for (size_t i = 0; i < copied->size(); ++i) {
        EXPECT_EQ((*copied)[i].name, (*original)[i].name);
        EXPECT_EQ((*copied)[i].type, (*original)[i].type);
        EXPECT_EQ((*copied)[i].data, (*original)[i].data);
    }
    EXPECT_TRUE(other.registry().KeyExists(RootKey::LocalMachine, kRunOnceKey));

    // Deletions in an import remove values and whole keys.
    const RegFileParse removal =
        ParseRegFile("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\" + kRun +
                     "]\r\n\"Blob\"=-\r\n\r\n"
                     "[-HKEY_LOCAL_MACHINE\\" +
                     std::string(kRunOnceKey) + "]\r\n");
    ASSERT_TRUE(removal.file) << removal.Describe();
    ASSERT_TRUE(registry.Import(*removal.file).Ok());
    EXPECT_FALSE(registry.QueryValue(RootKey::LocalMachine, kRun, "Blob"));
    EXPECT_FALSE(registry.KeyExists(RootKey::LocalMachine, kRunOnceKey));
}

}  // namespace
}  // namespace kestrune::platform
