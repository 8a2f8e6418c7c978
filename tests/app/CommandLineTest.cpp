#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/TestMachine.h"

namespace kestrune {
namespace {

struct SplitCase {
    std::string commandLine;
    std::string path;
    std::string arguments;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.commandLine; }

class SplitCommandLineCases : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineCases, SplitsIntoPathAndArguments) {
    const SplitCase& c = GetParam();
    const SplitResult result = SplitCommandLine(c.commandLine, false);
    EXPECT_EQ(result.path, c.path);
    EXPECT_EQ(result.arguments, c.arguments);
}

// The examples the rule was written for.
INSTANTIATE_TEST_SUITE_P(Documented, SplitCommandLineCases,
                         ::testing::Values(SplitCase{R"("C:\Program Files\App\app.exe" -min)",
                                                     R"(C:\Program Files\App\app.exe)", "-min"},
                                           SplitCase{"rundll32.exe shell32.dll,Control_RunDLL", "rundll32.exe",
                                                     "shell32.dll,Control_RunDLL"},
                                           // The last component "x.dll,Run" has no space after its last dot.
                                           SplitCase{R"(C:\WINDOWS\system32\rundll32.exe C:\PROGRA~1\x.dll,Run)",
                                                     R"(C:\WINDOWS\system32\rundll32.exe C:\PROGRA~1\x.dll,Run)", ""},
                                           // No backslash: the first space outside the quotes splits.
                                           SplitCase{R"("my app.exe" /x)", "my app.exe", "/x"}));

// Command lines as Run keys and shortcuts hold them.
INSTANTIATE_TEST_SUITE_P(
    RealWorld, SplitCommandLineCases,
    ::testing::Values(
        SplitCase{R"(C:\Windows\system32\ctfmon.exe)", R"(C:\Windows\system32\ctfmon.exe)", ""},
        SplitCase{R"("C:\Program Files\Common Files\Java\Java Update\jusched.exe")",
                  R"(C:\Program Files\Common Files\Java\Java Update\jusched.exe)", ""},
        SplitCase{R"(C:\Program Files\Adobe\Reader 9.0\Reader\Reader_sl.exe)",
                  R"(C:\Program Files\Adobe\Reader 9.0\Reader\Reader_sl.exe)", ""},
        SplitCase{R"("C:\Program Files\Steam\steam.exe" -silent)", R"(C:\Program Files\Steam\steam.exe)", "-silent"},
        SplitCase{R"("C:\Program Files (x86)\Dropbox\Client\Dropbox.exe" /systemstartup)",
                  R"(C:\Program Files (x86)\Dropbox\Client\Dropbox.exe)", "/systemstartup"},
        SplitCase{R"("C:\Program Files\Microsoft Office\Office16\OUTLOOK.EXE" /recycle)",
                  R"(C:\Program Files\Microsoft Office\Office16\OUTLOOK.EXE)", "/recycle"},
        SplitCase{R"(C:\Users\Bob\AppData\Local\Microsoft\OneDrive\OneDrive.exe /background)",
                  R"(C:\Users\Bob\AppData\Local\Microsoft\OneDrive\OneDrive.exe)", "/background"},
        SplitCase{R"(C:\Program Files\App\app.exe -min)", R"(C:\Program Files\App\app.exe)", "-min"},
        SplitCase{R"("C:\Program Files\Sync\sync tool.exe" --minimized --profile "Home")",
                  R"(C:\Program Files\Sync\sync tool.exe)", R"(--minimized --profile "Home")"},
        SplitCase{R"(C:\Tools\sync.exe --profile "Home Office")", R"(C:\Tools\sync.exe)", R"(--profile "Home Office")"},
        SplitCase{R"("C:\Users\Jörg\app.exe" ö 日本)", R"(C:\Users\Jörg\app.exe)", "ö 日本"},
        // Several spaces: the arguments keep all but the first, the path is trimmed.
        SplitCase{R"(C:\Tools\app.exe   -x)", R"(C:\Tools\app.exe)", "  -x"},
        // Dots in folder names do not count, only the last component's.
        SplitCase{R"(C:\PROGRA~2\Google\Update\1.3.36.31\GoogleUpdate.exe /c)",
                  R"(C:\PROGRA~2\Google\Update\1.3.36.31\GoogleUpdate.exe)", "/c"},
        SplitCase{R"(C:\PROGRA~1\ATI\ATI.ACE\Core-Static\MOM.EXE -startup)",
                  R"(C:\PROGRA~1\ATI\ATI.ACE\Core-Static\MOM.EXE)", "-startup"},
        // rundll32 lines.
        SplitCase{R"(C:\Windows\system32\rundll32.exe C:\Windows\system32\shell32.dll,Control_RunDLL)",
                  R"(C:\Windows\system32\rundll32.exe C:\Windows\system32\shell32.dll,Control_RunDLL)", ""},
        SplitCase{R"(rundll32.exe "C:\Program Files\Foo\foo.dll",Start)",
                  R"(rundll32.exe "C:\Program Files\Foo\foo.dll",Start)", ""},
        SplitCase{"RUNDLL32.EXE bthprops.cpl,,BluetoothAuthenticationAgent", "RUNDLL32.EXE",
                  "bthprops.cpl,,BluetoothAuthenticationAgent"},
        // %ProgramFiles% and other environment references stay as they are.
        SplitCase{R"(%ProgramFiles%\Windows Defender\MSASCui.exe -hide)",
                  R"(%ProgramFiles%\Windows Defender\MSASCui.exe)", "-hide"},
        SplitCase{R"("%ProgramFiles%\Realtek\Audio\HDA\RtkNGUI64.exe" -s)",
                  R"(%ProgramFiles%\Realtek\Audio\HDA\RtkNGUI64.exe)", "-s"},
        SplitCase{R"(%windir%\system32\SecurityHealthSystray.exe)", R"(%windir%\system32\SecurityHealthSystray.exe)",
                  ""},
        // Arguments with dots end the last component elsewhere: the whole line is the path
        // (only an outer quote at either end is taken off).
        SplitCase{R"("C:\Program Files\App\app.exe" --config C:\cfg\app.ini)",
                  R"(C:\Program Files\App\app.exe" --config C:\cfg\app.ini)", ""},
        SplitCase{R"(C:\Tools\backup.exe /log=backup.log)", R"(C:\Tools\backup.exe /log=backup.log)", ""},
        SplitCase{R"(C:\Tools\sync.exe -v 1.2.3)", R"(C:\Tools\sync.exe -v 1.2.3)", ""},
        SplitCase{R"("C:\Program Files\VideoLAN\VLC\vlc.exe" --started-from-file "D:\Movies\a.mkv")",
                  R"(C:\Program Files\VideoLAN\VLC\vlc.exe" --started-from-file "D:\Movies\a.mkv)", ""},
        SplitCase{R"(C:\Windows\System32\cmd.exe /c "C:\scripts\start.bat")",
                  R"(C:\Windows\System32\cmd.exe /c "C:\scripts\start.bat)", ""},
        SplitCase{R"(explorer.exe /e,C:\)", R"(explorer.exe /e,C:\)", ""},
        // Paths without an extension.
        SplitCase{R"(C:\Tools\runner)", R"(C:\Tools\runner)", ""},
        SplitCase{R"(C:\Tools\runner --quiet)", R"(C:\Tools\runner)", "--quiet"},
        SplitCase{R"(C:\Program Files\My App\launcher -x -y)", R"(C:\Program Files\My App\launcher)", "-x -y"},
        SplitCase{"notepad", "notepad", ""}, SplitCase{"notepad.exe", "notepad.exe", ""},
        // Without any backslash, "/" separates the components.
        SplitCase{"/usr/bin/syncthing -no-browser", "/usr/bin/syncthing", "-no-browser"},
        SplitCase{"/opt/app/bin/app.sh --tray", "/opt/app/bin/app.sh", "--tray"},
        SplitCase{R"(/bin/sh -c "echo hi")", "/bin/sh", R"(-c "echo hi")"},
        SplitCase{"regsvr32 /s mydll.dll", "regsvr32", "/s mydll.dll"},
        SplitCase{"javaw -jar app.jar", "javaw", "-jar app.jar"}, SplitCase{R"("C:\a.exe")", R"(C:\a.exe)", ""},
        SplitCase{R"(""C:\a.exe"")", R"(C:\a.exe)", ""}, SplitCase{"", "", ""}));

TEST(SplitCommandLine, KeepQuotesLeavesThePathAsWritten) {
    EXPECT_EQ(SplitCommandLine(R"("C:\Program Files\App\app.exe" -min)", true).path,
              R"("C:\Program Files\App\app.exe")");
    EXPECT_EQ(SplitCommandLine(R"("my app.exe" /x)", true).path, R"("my app.exe")");
    EXPECT_EQ(SplitCommandLine(R"("my app.exe" /x)", true).arguments, "/x");
}

struct PathCase {
    std::string input;
    std::string expected;
};

TEST(PathHelpers, FileNameOfTakesTheLastComponent) {
    for (const PathCase& c : {PathCase{R"(C:\a\b.exe)", "b.exe"}, PathCase{"b.exe", "b.exe"}, PathCase{R"(C:\a\)", ""},
                              PathCase{"", ""}, PathCase{R"(C:\Program Files\App\my app.exe)", "my app.exe"},
#ifndef _WIN32
                              PathCase{"/usr/bin/x", "x"}, PathCase{R"(C:\a/b\c.txt)", "c.txt"},
                              PathCase{R"(/tmp/m\Startup\App.lnk)", "App.lnk"}, PathCase{R"(C:\a\b/c)", "c"}
#endif
         })
        EXPECT_EQ(FileNameOf(c.input), c.expected) << c.input;
}

TEST(PathHelpers, ExtensionOfIsTheLastDotOnward) {
    for (const PathCase& c : {PathCase{"App.exe.lnk", ".lnk"}, PathCase{"readme", ""}, PathCase{"a.", "."},
                              PathCase{"Sync Tool.lnk", ".lnk"}, PathCase{"archive.tar.gz", ".gz"}})
        EXPECT_EQ(ExtensionOf(c.input), c.expected) << c.input;
}

TEST(PathHelpers, FolderOfDropsAFileNameWithADot) {
    for (const PathCase& c : {PathCase{R"(C:\a\b.exe)", R"(C:\a\)"}, PathCase{R"(C:\a\b)", R"(C:\a\b)"},
                              PathCase{"b.exe", ""}, PathCase{R"(C:\Program Files\App\)", R"(C:\Program Files\App\)"},
#ifndef _WIN32
                              PathCase{"/opt/app/run.sh", "/opt/app/"}
#endif
         })
        EXPECT_EQ(FolderOf(c.input), c.expected) << c.input;
}

TEST(PathHelpers, AddBackslashAddsOneSeparatorOnly) {
    EXPECT_EQ(AddBackslash(R"(C:\a\)"), R"(C:\a\)");
    EXPECT_EQ(AddBackslash(R"(C:\a)").size(), 5u);
    EXPECT_EQ(AddBackslash(AddBackslash("x")), AddBackslash("x"));
#ifndef _WIN32
    EXPECT_EQ(AddBackslash("/tmp/a"), "/tmp/a/");
    EXPECT_EQ(AddBackslash("/tmp/a/"), "/tmp/a/");
#endif
}

TEST(PathHelpers, ExpandEnvironmentReplacesKnownNamesIgnoringCase) {
    const EnvironmentList env{
        {"windir", R"(C:\Windows)"}, {"ProgramFiles", R"(C:\Program Files)"}, {"LOOP", "%windir%"}};
    for (const PathCase& c : {PathCase{R"(%WINDIR%\system32\a.exe)", R"(C:\Windows\system32\a.exe)"},
                              PathCase{R"(%programfiles%\x\%windir%)", R"(C:\Program Files\x\C:\Windows)"},
                              PathCase{R"(%UNKNOWN%\a.exe)", R"(%UNKNOWN%\a.exe)"}, PathCase{"100% sure", "100% sure"},
                              PathCase{"%a%windir%", R"(%aC:\Windows)"}, PathCase{"%%", "%%"},
                              // A value is not expanded again.
                              PathCase{"%LOOP%", "%windir%"}})
        EXPECT_EQ(ExpandEnvironment(c.input, env), c.expected) << c.input;
}

class ResolveItemFileTest : public ::testing::Test {
protected:
    test::TestMachine machine;
    platform::FileSystem& files = machine.platform->files();
    platform::System& system = machine.platform->system();
    EnvironmentList env;

    std::string Make(const std::string& path) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        test::WriteText(path, "MZ");
        return path;
    }
    std::string Resolve(const std::string& text) { return ResolveItemFile(text, files, system, env); }
};

TEST_F(ResolveItemFileTest, FindsTheFileStepByStep) {
    const std::string tool = Make(machine.appFolder + "tools/my tool.exe");
    env = {{"AppHome", machine.appFolder}};
    EXPECT_EQ(Resolve(tool), tool);
    EXPECT_EQ(Resolve("\"" + tool + "\" -min"), tool);
    EXPECT_EQ(Resolve("\"%APPHOME%tools/my tool.exe\""), machine.appFolder + "tools/my tool.exe");
    // Without a backslash an unquoted space splits the program from its arguments.
    EXPECT_EQ(Resolve("%APPHOME%tools/my tool.exe"), machine.appFolder + "tools/my");
    EXPECT_EQ(Resolve("\"%apphome%tools/my tool.exe\" /x"), machine.appFolder + "tools/my tool.exe");
}

TEST_F(ResolveItemFileTest, TriesTheWindowsFolderBeforeTheSystemFolder) {
    const std::string inWindows = Make(system.WindowsFolder() + "/notepad.exe");
    Make(system.SystemFolder() + "/notepad.exe");
    const std::string inSystem = Make(system.SystemFolder() + "/calc.exe");
    EXPECT_TRUE(files.FileExists(Resolve("notepad.exe")));
    EXPECT_EQ(std::filesystem::path(Resolve("notepad.exe")), std::filesystem::path(inWindows));
    EXPECT_EQ(std::filesystem::path(Resolve("calc.exe -x")), std::filesystem::path(inSystem));
}

TEST_F(ResolveItemFileTest, AnswersTheExpandedTextWhenNothingExists) {
    env = {{"ProgramFiles", "/nowhere/Program Files"}};
    EXPECT_EQ(Resolve(R"("%ProgramFiles%\App\app.exe" -min)"), R"(/nowhere/Program Files\App\app.exe)");
    EXPECT_EQ(Resolve("ghost.exe"), "ghost.exe");
}

}  // namespace
}  // namespace kestrune
