// The command line: options, files, and what wins where both stand.

#include "app/command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, OptionsAndFiles)
{
    using Action = CommandLine::Action;
    const struct
    {
        QStringList arguments;
        Action action;
        QStringList files;
    } rows[] = {
        {{}, Action::Start, {}},
        {{"a.avi", "/v/b.rm", "-"}, Action::Start, {"a.avi", "/v/b.rm", "-"}},
        {{"a.avi", "--help"}, Action::Help, {}},
        {{"-h"}, Action::Help, {}},
        {{"--version"}, Action::Version, {}},
        {{"--bogus", "-v"}, Action::Version, {}}, // help and version win over mistakes
        {{"a.avi", "--bogus"}, Action::Mistake, {"a.avi"}},
        {{"--", "--help", "-x.avi"}, Action::Start, {"--help", "-x.avi"}},
    };
    for (const auto &row : rows) {
        const CommandLine line = ReadCommandLine(row.arguments);
        EXPECT_EQ(line.action, row.action) << row.arguments.join(' ').toStdString();
        if (row.action != Action::Help) {
            EXPECT_EQ(line.Files, row.files) << row.arguments.join(' ').toStdString();
        }
    }
    EXPECT_TRUE(ReadCommandLine({"--bogus"}).Mistake.contains("--bogus"));
}

} // namespace
