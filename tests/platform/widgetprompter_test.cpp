#include <functional>

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "platform/widgetprompter.h"
#include "tests/support/qtprinters.h"

namespace
{
// Runs `inspect` on the message box once it is shown, then presses `press`.
void whenBoxShows(std::function<void(QMessageBox &)> inspect, QMessageBox::StandardButton press)
{
    QTimer::singleShot(0, [inspect, press] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        inspect(*box);
        QAbstractButton *button = box->button(press);
        ASSERT_NE(button, nullptr);
        button->click();
    });
}
} // namespace

TEST(WidgetPrompter, ShowsIconTitleTextAndButtonsAndReturnsThePressedOne)
{
    WidgetPrompter prompter;
    whenBoxShows(
        [](QMessageBox &box) {
            EXPECT_EQ(box.icon(), QMessageBox::Warning);
            EXPECT_EQ(box.windowTitle(), QStringLiteral("ﾌｧｲﾙが見つかりません"));
            EXPECT_EQ(box.text(), QStringLiteral("tabilo.datが見つかりません。\r\n続けます"));
            EXPECT_EQ(box.standardButtons(),
                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        },
        QMessageBox::No);
    EXPECT_EQ(prompter.message(PromptIcon::Exclamation, QStringLiteral("ﾌｧｲﾙが見つかりません"),
                               QStringLiteral("tabilo.datが見つかりません。\r\n続けます"),
                               PromptButtons::YesNoCancel),
              PromptAnswer::No);

    whenBoxShows([](QMessageBox &box) { EXPECT_EQ(box.icon(), QMessageBox::Critical); },
                 QMessageBox::Ignore);
    EXPECT_EQ(prompter.message(PromptIcon::Critical, QStringLiteral("t"), QStringLiteral("x"),
                               PromptButtons::AbortRetryIgnore),
              PromptAnswer::Ignore);

    whenBoxShows([](QMessageBox &box) { EXPECT_EQ(box.icon(), QMessageBox::Question); },
                 QMessageBox::Retry);
    EXPECT_EQ(prompter.message(PromptIcon::Question, QStringLiteral("t"), QStringLiteral("x"),
                               PromptButtons::RetryCancel),
              PromptAnswer::Retry);

    whenBoxShows(
        [](QMessageBox &box) {
            EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::YesToAll |
                                                 QMessageBox::No | QMessageBox::Cancel);
        },
        QMessageBox::YesToAll);
    EXPECT_EQ(prompter.message(PromptIcon::Question, QStringLiteral("t"), QStringLiteral("x"),
                               PromptButtons::YesAllNoCancel),
              PromptAnswer::YesToAll);
}

// Message boxes need a platform also when ctest lists the tests, without its environment.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
