#include <gtest/gtest.h>

#include "app/command_line.h"
#include "support/temp_dir.h"

namespace qlx {
namespace {

using qlxtest::TempDir;
using qlxtest::WriteAll;

TEST(CommandLine, ArgumentsJoinWithSingleBlanks)
{
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "My");
    const std::string path = dir.file("My Curves a.q5imp");
    WriteAll(path, "x");
    const StartFile f = StartFileFromArgs({dir.file("My"), "Curves", "a.q5imp"});
    EXPECT_EQ(f.kind, StartFileKind::MeasuredCurve);
    EXPECT_EQ(f.path, path);
}

TEST(CommandLine, OnlyExistingFilesWithExactExtension)
{
    TempDir dir;
    for (const char* name : {"a.q5imp", "b.q5lst", "c.Q5IMP", "d.q5LST", "e.txt"})
        WriteAll(dir.file(name), "x");
    EXPECT_EQ(StartFileFromArgs({dir.file("a.q5imp")}).kind, StartFileKind::MeasuredCurve);
    EXPECT_EQ(StartFileFromArgs({dir.file("b.q5lst")}).kind, StartFileKind::ReferenceList);
    for (const char* name : {"c.Q5IMP", "d.q5LST", "e.txt", "missing.q5imp"})
        EXPECT_EQ(StartFileFromArgs({dir.file(name)}).kind, StartFileKind::None) << name;
    EXPECT_EQ(StartFileFromArgs({dir.path().string()}).kind, StartFileKind::None);
    EXPECT_EQ(StartFileFromArgs({}).kind, StartFileKind::None);
}

}  // namespace
}  // namespace qlx

namespace qlx {
namespace {

TEST(CommandLine, HelpAndVersionAnswerOnlyAsTheFirstArgument)
{
    struct Case {
        std::vector<std::string> args;
        CommandLineAction action;
        std::vector<std::string> files;
    };
    const Case cases[] = {
        {{"--help"}, CommandLineAction::Help, {}},
        {{"-h"}, CommandLineAction::Help, {}},
        {{"--version"}, CommandLineAction::Version, {}},
        {{"--version", "a.q5imp"}, CommandLineAction::Version, {}},
        {{"My", "--help"}, CommandLineAction::Run, {"My", "--help"}},  // part of a path with blanks
        {{"--", "--help.q5imp"}, CommandLineAction::Run, {"--help.q5imp"}},
        {{"a.q5imp"}, CommandLineAction::Run, {"a.q5imp"}},
        {{}, CommandLineAction::Run, {}},
    };
    for (const Case& c : cases) {
        const CommandLineRequest r = ParseCommandLine(c.args);
        EXPECT_EQ(r.action, c.action) << ::testing::PrintToString(c.args);
        EXPECT_EQ(r.fileArgs, c.files) << ::testing::PrintToString(c.args);
    }
    EXPECT_EQ(VersionText(), "qlx50-manager 1.10\n");
    EXPECT_EQ(HelpText().rfind("Usage: qlx50-manager [FILE]\n", 0), 0u);
}

}  // namespace
}  // namespace qlx
