// The programs' answers on the command line, run as a user runs them, without a display.
#include "tests/e2e/ChildProcess.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace {

TEST(CommandLine, AnswersWithoutOpeningAWindow) {
    struct Case {
        const char* what;
        std::vector<std::string> argv;
        ChildProcess::Environment display;
        int status;
        std::vector<std::string> says; // each must appear in the output
        int lines;                     // lines of output, or -1 for any
    };
    const ChildProcess::Environment none = {{"DISPLAY", std::nullopt},
                                            {"WAYLAND_DISPLAY", std::nullopt},
                                            {"QT_QPA_PLATFORM", std::nullopt}};
    ChildProcess::Environment deadX = none;
    deadX["DISPLAY"] = ":3999"; // no X server there
    const Case cases[] = {
        {"usage",
         {VESTORYLIST_PROGRAM, "--help"},
         none,
         0,
         {"Usage: vestorylist", "--version", "VESTORYLIST_ROOT", "Vestory.vsl", "Exit status"},
         -1},
        {"version",
         {VESTORYLIST_PROGRAM, "--version"},
         none,
         0,
         {"VestoryList " VESTORYLIST_VERSION},
         1},
        {"no display named",
         {VESTORYLIST_PROGRAM},
         none,
         1,
         {"cannot open a window", "DISPLAY", "WAYLAND_DISPLAY"},
         1},
        {"a display that does not answer",
         {VESTORYLIST_PROGRAM},
         deadX,
         1,
         {"cannot open a window", "DISPLAY"},
         1},
        // Before the display is looked for: a mistake is told as one, not as a missing display.
        {"unknown option",
         {VESTORYLIST_PROGRAM, "-x.vsl"},
         none,
         2,
         {"unknown option -x.vsl", "Usage: vestorylist", "[--] FILE"},
         -1},
        {"two files",
         {VESTORYLIST_PROGRAM, "a.vsl", "--", "b.vsl"},
         none,
         2,
         {"one file at most", "Usage: vestorylist"},
         -1},
        {"a file after --",
         {VESTORYLIST_PROGRAM, "--", "--help"},
         none,
         1,
         {"cannot open a window"},
         1},
        {"vsl version", {VSL_PROGRAM, "--version"}, none, 0, {"vsl " VESTORYLIST_VERSION}, 1},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        ChildProcess::Environment env = c.display;
        env["VESTORYLIST_ROOT"] = folder.Path().string();
        env["LSAN_OPTIONS"] = "suppressions=" LSAN_SUPPRESSIONS;
        ChildProcess program(c.argv, env, (folder.Path() / "output").string());
        ASSERT_TRUE(program.Started()) << c.what;
        EXPECT_EQ(program.WaitExit(std::chrono::seconds(20)), c.status) << c.what;
        const std::string output = program.Output();
        for (const std::string& text : c.says)
            EXPECT_NE(output.find(text), std::string::npos) << c.what << ": " << output;
        if (c.lines >= 0) {
            EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), c.lines)
                << c.what << ": " << output;
        }
    }
}

} // namespace
