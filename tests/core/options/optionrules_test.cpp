#include "core/options/optionrules.h"

#include <gtest/gtest.h>

#include <QList>

namespace
{

TEST(OptionRules, SlideIntervalIsWholeSecondsWithinOneToSixty)
{
    const QList<QPair<QString, std::optional<int>>> cases = {
        {"0", std::nullopt},
        {"61", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"0.4", std::nullopt},
        {"1", 1},
        {"60", 60},
        {" 7 ", 7},
        {"2.5", 2},
        {"3.5", 4},
        {"60.4", 60},
        {"60.5", 60},
    };
    for (const auto &[text, seconds] : cases)
        EXPECT_EQ(slideIntervalFromText(text), seconds) << qPrintable(text);
}

TEST(OptionRules, DefaultProgramMovesToTheFirstFilledRow)
{
    struct Case {
        const char *what;
        std::array<QString, 3> paths;
        std::optional<int> chosen;
        std::optional<int> row;
        bool keepDirect;
    };
    const QList<Case> cases = {
        {"chosen row filled", {"a", "b", "c"}, 1, 1, true},
        {"chosen row emptied", {"a", "", ""}, 2, 0, false},
        {"nothing chosen", {"", "b", "c"}, std::nullopt, 1, false},
        {"every row empty", {"", "", ""}, 2, std::nullopt, false},
    };
    for (const Case &c : cases) {
        const DefaultProgramChoice choice = defaultProgramChoice(c.paths, c.chosen);
        EXPECT_EQ(choice.row, c.row) << c.what;
        EXPECT_EQ(choice.keepDirect, c.keepDirect) << c.what;
    }
}

} // namespace
