// What the command line settles before anything runs: each way of asking is
// told apart, and each thing asked wrongly ends with status 2 before a window
// or a read of the screen. "-platform offscreen" stands in for a display.
#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tintavo;

namespace {

CommandLine parse(std::vector<std::string> args)
{
    args.insert(args.begin(), "tintavo");
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    return handleCommandLine(int(args.size()), argv.data());
}

struct Refused
{
    const char *why;
    std::vector<std::string> args;
};

const Refused kRefused[] = {
    {"an unknown option", {"--colour"}},
    {"two questions at once", {"--pick", "--contrast", "red", "blue"}},
    {"a freeze past a minute", {"--pick", "--freeze=61"}},
    {"a delayed freeze without a pick", {"--freeze=5"}},
    {"a capture with colours", {"-platform", "offscreen", "--capture", "red", "blue"}},
    {"a region with three numbers", {"--contrast", "red", "--region", "1,2,3"}},
    {"a region without a text colour", {"--region", "1,2,3,4"}},
    {"a pick at a negative point", {"--pick", "--at", "-1,3"}},
    {"a sample of four", {"--pick", "--at", "3,4", "--size", "4"}},
    {"a size without --at", {"--pick", "--size", "3"}},
    {"no main colours", {"--extract", "0"}},
    {"too many main colours", {"--extract", "33"}},
    {"a picture with nothing asked of it", {"--image", "x.png"}},
    {"one colour for the window", {"-platform", "offscreen", "red"}},
    {"a pick with colours", {"-platform", "offscreen", "--pick", "red", "blue"}},
    {"a colour that is none", {"-platform", "offscreen", "red", "bleu"}},
    {"a palette form unknown", {"--ramp", "red", "--as", "less"}},
};

} // namespace

TEST(CommandLine, RefusesWhatCannotBeDone)
{
    for (const Refused &row : kRefused)
        EXPECT_EQ(parse(row.args).exitStatus, 2) << row.why;
}

TEST(CommandLine, AnswersWithoutAWindow)
{
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"--contrast", "black", "white"},
          {"--name", "red"},
          {"--ramp", "#3b82f6", "--as", "tailwind"},
          {"--harmony", "split", "red"}}) {
        EXPECT_EQ(parse(args).exitStatus, 0) << args.front();
    }
}

TEST(CommandLine, TellsTheWaysOfAskingApart)
{
    const CommandLine window = parse({"-platform", "offscreen", "red", "#00f"});
    EXPECT_FALSE(window.exitStatus);
    EXPECT_EQ(window.startPair, std::pair(rgb(255, 0, 0), rgb(0, 0, 255)));
    EXPECT_FALSE(window.pickOnce);

    const CommandLine frozen = parse({"-platform", "offscreen", "--pick", "--freeze=3"});
    EXPECT_TRUE(frozen.pickOnce);
    EXPECT_EQ(frozen.freezeAfter, 3);
    EXPECT_EQ(parse({"-platform", "offscreen", "--pick", "--freeze"}).freezeAfter, 0);

    EXPECT_EQ(parse({"-platform", "offscreen", "--capture"}).action, "capture");
    EXPECT_EQ(parse({"-platform", "offscreen", "--freeze"}).action, "freeze");

    EXPECT_EQ(parse({"-platform", "offscreen", "--contrast", "white", "--region", "1,2,3,4"})
                  .regionContrast,
              std::pair(rgb(255, 255, 255), QRect(1, 2, 3, 4)));
    EXPECT_EQ(parse({"-platform", "offscreen", "--pick", "--at", "3,4", "--size", "3"}).screenPick,
              std::pair(QPoint(3, 4), 3));
    EXPECT_EQ(parse({"-platform", "offscreen", "--extract", "5", "--region", "0,0,10,10"})
                  .screenExtraction,
              std::pair(5, std::optional(QRect(0, 0, 10, 10))));

    const CommandLine picture = parse({"-platform", "offscreen", "--pick", "--image", "x.png"});
    EXPECT_TRUE(picture.pickOnce);
    EXPECT_EQ(picture.pictureFramePick, "x.png");
}
