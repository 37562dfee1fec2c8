#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "CliFixture.h"
#include "tests/support/BuiltFiles.h"
#include "tests/support/TestProject.h"

namespace {

namespace fs = std::filesystem;

// A project whose slaves have these axis ids, all on one linear drive.
std::string ProjectWithAxisIds(const std::vector<int>& axisIds) {
    std::string text;
    for (int id : axisIds)
        text += "[[slave]]\naxis_id = " + std::to_string(id) + "\ndrive = \"x\"\n";
    return text + TestDrive{}.Table("x");
}

// The entries of an element text by name (units dropped), the first of each name.
std::map<std::string, std::string> EntriesOf(const std::string& text) {
    std::map<std::string, std::string> entries;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string name = line.substr(0, equals);
        name = name.substr(0, name.find('['));
        entries.emplace(name, line.substr(equals + 1));
    }
    return entries;
}

TEST_F(Cli, InfoPrintsTheModuleIdentity) {
    ProgramOutcome outcome = Run({"info"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "class: Motion\nname: Linear Interpolation\norder id: 4100\n");
    EXPECT_EQ(outcome.err, "");
}

TEST_F(Cli, EveryCommandHasHelp) {
    for (const char* command : {"info", "enabled", "new", "translate", "check", "edit", "demo"}) {
        ProgramOutcome outcome = Run({command, "--help"});
        EXPECT_EQ(outcome.status, 0) << command;
        EXPECT_NE(outcome.out.find("--project"), std::string::npos) << command;
        EXPECT_NE(outcome.out.find("--plugin"), std::string::npos) << command;
        EXPECT_EQ(outcome.err, "") << command;
    }
    ProgramOutcome top = Run({"--help"});
    EXPECT_EQ(top.status, 0);
    for (const char* listed : {"translate", "check", "help", "-p,--project", "--plugin"})
        EXPECT_NE(top.out.find(listed), std::string::npos) << listed;
}

TEST_F(Cli, HelpCommandShowsTheProgramsOrOneCommandsHelp) {
    EXPECT_EQ(Run({"help"}).out, Run({"--help"}).out);
    ProgramOutcome translate = Run({"help", "translate"});
    EXPECT_EQ(translate.status, 0);
    EXPECT_EQ(translate.out, Run({"translate", "--help"}).out);
    EXPECT_NE(translate.out.find("Usage: vantrel translate"), std::string::npos) << translate.out;
    ProgramOutcome unknown = Run({"help", "tarnslate"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("did you mean \"translate\""), std::string::npos) << unknown.err;
}

TEST_F(Cli, VersionNamesTheProgram) {
    ProgramOutcome outcome = Run({"--version"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "vantrel 0.1.0\n");
}

TEST_F(Cli, MistypedCommandsGetTheNearestCommandSuggested) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"nwe"}, "new"},
        {{"-p", "p.toml", "tranlsate", "e"}, "translate"},
        {{"trans", "e"}, "translate"},
        {{"chekc", "e"}, "check"},
        {{"edti"}, "edit"},
    };
    for (const auto& [args, meant] : cases) {
        ProgramOutcome outcome = Run(args);
        EXPECT_EQ(outcome.status, 2) << meant;
        EXPECT_NE(outcome.err.find("did you mean \"" + meant + "\"?"), std::string::npos)
            << outcome.err;
    }
    ProgramOutcome far = Run({"frobnicate"});
    EXPECT_EQ(far.err, "vantrel: unknown command \"frobnicate\" (see vantrel --help)\n");
}

TEST_F(Cli, CommonOptionsWorkBeforeAndAfterTheCommand) {
    std::string project = Write("p.toml", ProjectWithAxisIds({1, 2}));
    std::string element = Write("e.txt", NewElementFor(ProjectWithAxisIds({1, 2})));
    const std::vector<std::vector<std::string>> commands = {
        {"enabled"}, {"new"}, {"translate", element}, {"check", element}};
    for (const auto& command : commands) {
        std::vector<std::string> before = {"-p", project, "--plugin", BuiltModulePath()};
        before.insert(before.end(), command.begin(), command.end());
        std::vector<std::string> after = command;
        after.insert(after.end(), {"--project", project, "--plugin", BuiltModulePath()});
        ProgramOutcome first = Run(before);
        ProgramOutcome second = Run(after);
        EXPECT_EQ(first.status, second.status) << command[0] << ": " << first.err;
        EXPECT_EQ(first.out, second.out) << command[0];
        EXPECT_EQ(first.err, second.err) << command[0];
    }
    // The two-axis project shows in the new element, whichever side -p stands on.
    EXPECT_EQ(EntriesOf(Run({"-p", project, "new"}).out)["ProfileType"], "0");
}

TEST_F(Cli, UsageErrorsAreOneLineAndExit2) {
    const std::vector<std::vector<std::string>> misuses = {
        {},
        {"bogus"},
        {"info", "--bogus"},
        {"translate"},
        {"translate", "a", "b"},
        {"new", "-o"},
        {"enabled", "-p", ""},
        {"edit", "-"},
        {"edit", "element.txt"},
        {"nwe"},
        {"new", "demo"},
        {"help", "bogus"},
        {"translate", "-", "-o", ""},
        {"check"},
    };
    for (const auto& args : misuses) {
        ProgramOutcome outcome = Run(args);
        std::string shown =
            args.empty() ? "(none)" : args[0] + (args.size() > 1 ? " " + args[1] : "");
        EXPECT_EQ(outcome.status, 2) << shown;
        EXPECT_TRUE(IsOneLine(outcome.err)) << shown << ": " << outcome.err;
        EXPECT_EQ(outcome.err.rfind("vantrel: ", 0), 0u) << shown << ": " << outcome.err;
        EXPECT_EQ(outcome.out, "") << shown;
    }
    EXPECT_EQ(FolderContent(), std::vector<std::string>{});
}

TEST_F(Cli, EnabledFollowsTheController) {
    EXPECT_EQ(Run({"enabled"}).out, "1\n");
    std::string notController = Write("nc.toml", "[controller]\nmotion_controller = false\n");
    std::string noTpos = Write("nt.toml", "[controller]\nvariables = [\"CACC\", \"CSPD\"]\n");
    for (const std::string& project : {notController, noTpos}) {
        ProgramOutcome outcome = Run({"enabled", "--project", project});
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out, "0\n") << project;
    }
}

TEST_F(Cli, NewOnTheDemoProjectIsAThreeAxisElement) {
    ProgramOutcome outcome = Run({"new"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    auto entries = EntriesOf(outcome.out);
    const std::map<std::string, std::string> expected = {
        {"ProfileType", "1"},   {"ClearBuffer", "1"},
        {"ConfigureMode", "1"}, {"InsertEndSegment", "1"},
        {"SlaveX", "0"},        {"SlaveY", "1"},
        {"SlaveZ", "2"},        {"X_TPOS", "0"},
        {"Y_TPOS", "0"},        {"Z_TPOS", "0"},
        {"CACC", "0"},          {"CSPD", "0"},
        {"Execute", "0"},       {"WaitForCompletion", "1"}};
    EXPECT_EQ(entries, expected);
}

TEST_F(Cli, NewChoosesAxesByTheNumberOfUsableSlaves) {
    struct Case {
        std::vector<int> axisIds;
        const char *profile, *x, *y, *z;
    };
    const std::vector<Case> cases = {
        {{}, "0", "0", "0", nullptr},        {{0, 0}, "0", "0", "0", nullptr},
        {{0, 0, 4}, "0", "2", "2", nullptr}, {{3, 0, 4}, "0", "0", "2", nullptr},
        {{0, 7, 9}, "0", "1", "2", nullptr}, {{1, 2, 3, 4}, "1", "0", "1", "2"},
    };
    for (const Case& c : cases) {
        auto entries = EntriesOf(NewElementFor(ProjectWithAxisIds(c.axisIds)));
        std::string shown = std::to_string(c.axisIds.size()) + " slaves";
        EXPECT_EQ(entries["ProfileType"], c.profile) << shown;
        EXPECT_EQ(entries["SlaveX"], c.x) << shown;
        EXPECT_EQ(entries["SlaveY"], c.y) << shown;
        EXPECT_EQ(entries.count("SlaveZ"), c.z ? 1u : 0u) << shown;
        EXPECT_EQ(entries.count("Z_TPOS"), c.z ? 1u : 0u) << shown;
        if (c.z) {
            EXPECT_EQ(entries["SlaveZ"], c.z) << shown;
        }
    }
}

TEST_F(Cli, NewWritesTheFileWholeAndLeavesNothingElse) {
    std::string expected = Run({"new"}).out;
    std::string target = Write("element.txt", "old content\n");
    ProgramOutcome outcome = Run({"new", "-o", target});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(ReadFileText(target), expected);
    EXPECT_EQ(FolderContent(), std::vector<std::string>{"element.txt"});
}

TEST_F(Cli, ADashAsOutputMeansStandardOutput) {
    const std::string element = Write("e.txt", kDemoElement);
    const std::string table = Write("t.csv", "1 2 3\n");
    const std::vector<std::vector<std::string>> commands = {
        {"new"},
        {"translate", element},
        {"export", element, "--format", "csv"},
        {"import", table},
    };
    for (std::vector<std::string> command : commands) {
        const ProgramOutcome plain = Run(command);
        ASSERT_EQ(plain.status, 0) << command[0] << ": " << plain.err;
        command.insert(command.end(), {"-o", "-"});
        const ProgramOutcome dash = Run(command);
        EXPECT_EQ(dash.status, 0) << command[0] << ": " << dash.err;
        EXPECT_EQ(dash.out, plain.out) << command[0];
        EXPECT_FALSE(plain.out.empty()) << command[0];
    }
    EXPECT_EQ(FolderContent(), (std::vector<std::string>{"e.txt", "t.csv"}));
}

TEST_F(Cli, NewRefusesTargetsItCannotWrite) {
    for (const fs::path& target : {m_folder / "missing" / "e.txt", m_folder}) {
        ProgramOutcome outcome = Run({"new", "-o", target.string()});
        EXPECT_EQ(outcome.status, 2) << target;
        EXPECT_TRUE(IsOneLine(outcome.err)) << outcome.err;
        EXPECT_NE(outcome.err.find(target.string()), std::string::npos) << outcome.err;
    }
    EXPECT_EQ(FolderContent(), std::vector<std::string>{});
}

TEST_F(Cli, BadProjectsNameTheFileAndLine) {
    std::string project = Write("bad.toml", "[controller]\n\nspeed = 3\n");
    for (const char* command : {"info", "enabled", "new", "demo"}) {
        ProgramOutcome outcome = Run({command, "-p", project});
        EXPECT_EQ(outcome.status, 2) << command;
        EXPECT_EQ(outcome.err,
                  "vantrel: " + project + ":3: key \"controller.speed\": unknown key\n")
            << command;
        EXPECT_EQ(outcome.out, "") << command;
    }
    ProgramOutcome folder = Run({"enabled", "-p", m_folder.string()});
    EXPECT_EQ(folder.status, 2);
    EXPECT_TRUE(IsOneLine(folder.err));
}

TEST_F(Cli, UnreadableElementsAreUsageErrors) {
    for (const fs::path& element : {m_folder / "missing.txt", m_folder}) {
        ProgramOutcome outcome = Run({"translate", element.string()});
        EXPECT_EQ(outcome.status, 2) << element;
        EXPECT_TRUE(IsOneLine(outcome.err)) << outcome.err;
        EXPECT_NE(outcome.err.find(element.string()), std::string::npos) << outcome.err;
    }
}

TEST_F(Cli, ElementsProjectsAndScriptsMustBeRegularFilesOfBoundedSize) {
    const fs::path fifo = m_folder / "fifo";  // no program writes to it
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const fs::path sparse = m_folder / "sparse";
    WriteFileText(sparse, "");
    fs::resize_file(sparse, std::uintmax_t{2} << 30);
    const std::string element = Write("e.txt", kDemoElement);
    const std::vector<std::pair<fs::path, const char*>> refused = {
        {"/dev/zero", "not a regular file"},
        {fifo, "not a regular file"},
        {m_folder, "is a directory"},
        {sparse, "too large"},
    };
    for (const auto& [file, problem] : refused) {
        const std::vector<std::vector<std::string>> uses = {
            {"translate", file.string()},
            {"enabled", "-p", file.string()},
            {"edit", element, "--script", file.string()},
        };
        for (const auto& args : uses) {
            ProgramOutcome outcome = Run(args);
            EXPECT_EQ(outcome.status, 2) << args[0] << " " << file;
            EXPECT_TRUE(IsOneLine(outcome.err)) << outcome.err;
            EXPECT_EQ(outcome.err.rfind("vantrel: " + file.string() + ": " + problem, 0), 0u)
                << args[0] << ": " << outcome.err;
        }
    }
    EXPECT_EQ(ReadFileText(element), kDemoElement);
}

TEST_F(Cli, AFailedWriteOfTheOutputIsAnError) {
    for (const char* command : {"--help", "--version", "info", "new", "demo"}) {
        ProgramOutcome outcome = RunProgram(
            "sh", {"-c", std::string("exec \"$0\" ") + command + " >/dev/full", BuiltProgramPath()},
            "", m_folder);
        EXPECT_EQ(outcome.status, 2) << command;
        EXPECT_EQ(outcome.err.rfind("vantrel: standard output: cannot write", 0), 0u)
            << command << ": " << outcome.err;
    }
}

// Messages quote what the user gave: a key, a unit, a script line, a file name.
TEST_F(Cli, MessagesShowControlCharactersOfTheInputAsEscapes) {
    const std::string key = Write("key.toml", "[controller]\n\"a\\nb\\rc\" = 1\n");
    const std::string unit = Write("unit.toml",
                                   "[drive.x]\nposition_unit = \"\\u001b[2J\"\n"
                                   "counts_per_rev = 1\ntravel_per_rev = 1\nsample_time = 1\n");
    const std::string script = Write("script.txt", "frob\x1b[2J\x01\x9b\n");
    const std::string element = Write("e.txt", kDemoElement);
    const std::string strange = (m_folder / "a\nb").string();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"enabled", "-p", key}, "key \"controller.a\\nb\\rc\": unknown key"},
        {{"enabled", "-p", unit}, "unknown position unit \"\\x1b[2J\""},
        {{"edit", element, "--script", script}, "unknown command \"frob\\x1b[2J\\x01\\x9b\""},
        {{"translate", strange}, "a\\nb: cannot read"},
    };
    for (const auto& [args, shown] : cases) {
        ProgramOutcome outcome = Run(args);
        EXPECT_EQ(outcome.status, 2) << args[0];
        EXPECT_TRUE(IsOneLine(outcome.err)) << outcome.err;
        EXPECT_NE(outcome.err.find(shown), std::string::npos) << outcome.err;
        EXPECT_EQ(std::count_if(outcome.err.begin(), outcome.err.end(),
                                [](char c) { return c < 0x20 || c == 0x7f; }),
                  1)
            << "only the line end is a control character: " << outcome.err;
    }
}

// Words from the command line and the script are quoted shortened, as values from files are.
TEST_F(Cli, MessagesQuoteLongWordsShortened) {
    const std::string word(100000, 'b');
    const std::string cut = "\"" + std::string(40, 'b') + "...\"";
    const std::string script = Write("long.txt", "click " + std::string(1 << 20, 'b') + "\n");
    const std::string element = Write("e.txt", kDemoElement);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{word}, "unknown command " + cut},
        {{"info", word}, "unexpected argument " + cut},
        {{"import", "-", "--format", word}, "--format: " + cut + " is not one of {gcode,csv}"},
        {{"edit", element, "--script", script}, "unknown control " + cut},
    };
    for (const auto& [args, shown] : cases) {
        ProgramOutcome outcome = Run(args);
        EXPECT_EQ(outcome.status, 2) << args[0].substr(0, 10);
        EXPECT_LT(outcome.err.size(), 300u) << outcome.err.substr(0, 300);
        EXPECT_NE(outcome.err.find(shown), std::string::npos) << outcome.err.substr(0, 300);
    }
}

TEST_F(Cli, ModulesThatCannotBeUsedAreNamed) {
    std::string missing = (m_folder / "libNothing.so").string();
    std::string notALibrary = Write("fake.so", "not a library\n");
    for (const std::string& module : {missing, notALibrary, BuiltHostLibraryPath()}) {
        ProgramOutcome outcome = Run({"info", "--plugin", module});
        EXPECT_EQ(outcome.status, 2) << module;
        EXPECT_TRUE(IsOneLine(outcome.err)) << outcome.err;
        EXPECT_NE(outcome.err.find(module), std::string::npos) << outcome.err;
    }
    ProgramOutcome noExport = Run({"info", "--plugin", BuiltHostLibraryPath()});
    EXPECT_NE(noExport.err.find("GetClassName"), std::string::npos) << noExport.err;
}

TEST_F(Cli, TranslatePrintsTheProgramByteForByte) {
    ProgramOutcome demo = Run({"demo"});
    ASSERT_EQ(demo.status, 0) << demo.err;
    ProgramOutcome piped = Run({"translate", "-"}, kDemoElement);
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out, demo.out);
    ASSERT_FALSE(demo.out.empty());
    EXPECT_EQ(demo.out.substr(demo.out.size() - 2), "\r\n");
    for (std::size_t at = demo.out.find('\n'); at != std::string::npos;
         at = demo.out.find('\n', at + 1))
        ASSERT_EQ(demo.out[at - 1], '\r') << "a line without CR at byte " << at;
}

TEST_F(Cli, RefusedElementsExit1WithTheModulesMessages) {
    std::string element = Write("e.txt",
                                "ProfileType=0\nSlaveX=0\nSlaveY=0\nX_TPOS[mm]=1\n"
                                "Y_TPOS[mm]=1\nCACC[m/s^2]=0\nCSPD[m/s]=0\nExecute=0\n");
    ProgramOutcome outcome = Run({"translate", element});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    // The module's bytes, then where the problem lies.
    EXPECT_EQ(outcome.err, "Invalid value of SlaveY!\r\nvantrel: " + element +
                               ": SlaveY: slave 0 is already SlaveX's\n");
}

TEST_F(Cli, TranslateWritesTheFileOnlyWhenTheElementIsAccepted) {
    std::string element = Write("e.txt", kDemoElement);
    std::string target = Write("program.txt", "old program\n");
    ProgramOutcome written = Run({"translate", element, "-o", target});
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(ReadFileText(target), Run({"demo"}).out);

    std::string refused = Write("refused.txt", NewElementFor(ProjectWithAxisIds({1, 2, 3})));
    WriteFileText(target, "old program\n");
    ProgramOutcome kept = Run({"translate", refused, "-o", target});
    EXPECT_EQ(kept.status, 1);
    EXPECT_EQ(ReadFileText(target), "old program\n");
    EXPECT_EQ(FolderContent(),
              (std::vector<std::string>{"e.txt", "p.toml", "program.txt", "refused.txt"}));
}

TEST_F(Cli, RefusalsEndWithALineEndAfterTheModulesBytes) {
    // A new element's single segment is all zeros: the module's message has no line end.
    ProgramOutcome outcome = Run({"translate", "-"}, Run({"new"}).out);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err,
              "Illegal position increment values!\nSegments cannot have all increments equal to "
              "0.\r\nvantrel: standard input: segment 0: all increments are 0\n");
}

TEST_F(Cli, CheckValidatesWithoutTranslating) {
    ProgramOutcome valid = Run({"check", "-"}, kDemoElement);
    EXPECT_EQ(valid.status, 0) << valid.err;
    EXPECT_EQ(valid.out, "");
    EXPECT_EQ(valid.err, "");

    std::string twoProblems =
        "ProfileType=0\nSlaveX=0\nSlaveY=0\nX_TPOS[mm]=1\nY_TPOS[mm]=1\nCACC[m/s^2]=0\n"
        "CSPD[m/s]=-1\nExecute=0\n";
    ProgramOutcome refused = Run({"check", Write("e.txt", twoProblems)});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(
        refused.err.rfind("Invalid value of SlaveY!\r\nInvalid value of CSPD!\r\nvantrel: ", 0), 0u)
        << refused.err;
    EXPECT_EQ(Run({"check", "-"}, twoProblems).err, Run({"translate", "-"}, twoProblems).err);
}

TEST_F(Cli, ExamplesTranslateOnTheirProjects) {
    for (const char* name : {"linear3", "rotary2", "mixed"}) {
        const std::string project = Example(std::string(name) + ".toml");
        const std::string element = Example(std::string(name) + ".element");
        ProgramOutcome outcome = Run({"translate", "-p", project, element});
        EXPECT_EQ(outcome.status, 0) << name << ": " << outcome.err;
        EXPECT_NE(outcome.out.find("MODE LI"), std::string::npos) << name;
    }
}

TEST_F(CliEdit, ConfirmedEditsReplaceTheFile) {
    ProgramOutcome outcome =
        Edit("type IDC_POSITION_X 12.5\ntype IDC_POSITION_Y -3\nclick IDC_UPDATE\nok\n");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    auto entries = EntriesOf(ReadFileText(m_element));
    EXPECT_EQ(entries["X_TPOS"], "12.5 0 -10 0");
    EXPECT_EQ(entries["Y_TPOS"], "-3 10 0 -10");
    EXPECT_EQ(Run({"translate", m_element}).status, 0);
    EXPECT_EQ(FolderContent(), (std::vector<std::string>{"element.txt", "script.txt"}));
}

TEST_F(CliEdit, CancelAndRefusedOkLeaveTheFileAlone) {
    for (const char* script : {"cancel\n", "type IDC_POSITION_X 4\n",
                               "type IDC_POSITION_X 0\ntype IDC_POSITION_Y 0\n"
                               "type IDC_POSITION_Z 0\nclick IDC_UPDATE\nok\n"}) {
        ProgramOutcome outcome = Edit(script);
        EXPECT_EQ(outcome.status, 1) << script << outcome.err;
        EXPECT_EQ(ReadFileText(m_element), m_before) << script;
    }
}

TEST_F(CliEdit, MessageBoxesNobodySeesAreWrittenToStderr) {
    ProgramOutcome refused = Edit(
        "type IDC_POSITION_X 0\ntype IDC_POSITION_Y 0\ntype IDC_POSITION_Z 0\n"
        "click IDC_UPDATE\nok\n");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "message: Illegal position increment values! Segments cannot have all "
              "increments equal to 0.\n");

    std::string missing = (m_folder / "missing.txt").string();
    ProgramOutcome import = Edit("file " + missing + "\nclick IDC_IMPORT\ncancel\n");
    EXPECT_EQ(import.status, 1);
    EXPECT_EQ(import.err.rfind("warning: Cannot open \"" + missing + "\"", 0), 0u) << import.err;
    EXPECT_TRUE(IsOneLine(import.err)) << import.err;
}

TEST_F(CliEdit, AFailingScriptLineNamesTheScriptAndChangesNothing) {
    ProgramOutcome outcome = Edit("type IDC_POSITION_X 4\nfrobnicate\nok\n");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_TRUE(IsOneLine(outcome.err)) << outcome.err;
    std::string where = "vantrel: " + (m_folder / "script.txt").string() + ":2: ";
    EXPECT_EQ(outcome.err.substr(0, where.size()), where) << outcome.err;
    EXPECT_EQ(ReadFileText(m_element), m_before);
}

TEST_F(CliEdit, AMissingElementStartsNewAndTheScriptMayComeFromStdin) {
    std::string fresh = (m_folder / "fresh.txt").string();
    ProgramOutcome outcome = Run({"edit", fresh, "--script", "-"},
                                 "dump\ntype IDC_POSITION_X 1\nclick IDC_UPDATE\nok\n");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(nlohmann::json::parse(outcome.out).contains("controls")) << outcome.out;
    EXPECT_TRUE(IsOneLine(outcome.out)) << outcome.out;
    EXPECT_EQ(EntriesOf(ReadFileText(fresh))["X_TPOS"], "1");
}

}  // namespace
