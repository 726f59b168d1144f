#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "platform/prompter.h"
#include "tests/support/qtprinters.h"
#include "tests/support/recordingprompter.h"

TEST(Prompter, FallbackTakesTheSafeWayOut)
{
    Prompter &fallback = prompter();
    EXPECT_EQ(fallback.message(PromptIcon::Question, QStringLiteral("確認"),
                               QStringLiteral("削除しますか?"), PromptButtons::YesNo),
              PromptAnswer::No);
    EXPECT_EQ(fallback.message(PromptIcon::Exclamation, QStringLiteral("t"), QStringLiteral("x"),
                               PromptButtons::Ok),
              PromptAnswer::Ok);
    EXPECT_TRUE(fallback.chooseFolder(QStringLiteral("t"), QStringLiteral("/")).isEmpty());
    EXPECT_FALSE(fallback.chooseColor(Qt::red).has_value());

    EXPECT_EQ(cancelAnswerFor(PromptButtons::OkCancel), PromptAnswer::Cancel);
    EXPECT_EQ(cancelAnswerFor(PromptButtons::YesNoCancel), PromptAnswer::Cancel);
    EXPECT_EQ(cancelAnswerFor(PromptButtons::RetryCancel), PromptAnswer::Cancel);
    EXPECT_EQ(cancelAnswerFor(PromptButtons::AbortRetryIgnore), PromptAnswer::Abort);
}

TEST(Prompter, RecordingPrompterAnswersInOrderAndRestoresThePrevious)
{
    Prompter *before = &prompter();
    {
        RecordingPrompter prompts;
        EXPECT_EQ(&prompter(), &prompts);
        prompts.queueAnswer(PromptAnswer::Yes);
        prompts.queueAnswer(PromptAnswer::Retry);
        prompts.queueFolder(QStringLiteral("/photos"));
        prompts.queueColor(QColor(Qt::blue));

        EXPECT_EQ(prompter().message(PromptIcon::Question, QStringLiteral("ﾀｲﾄﾙ"),
                                     QStringLiteral("本文"), PromptButtons::YesNo),
                  PromptAnswer::Yes);
        EXPECT_EQ(prompter().message(PromptIcon::Critical, QStringLiteral("t"), QStringLiteral("x"),
                                     PromptButtons::RetryCancel),
                  PromptAnswer::Retry);
        EXPECT_EQ(prompter().chooseFolder(QStringLiteral("希望のフォルダを選択して下さい。"),
                                          QStringLiteral("/start")),
                  QStringLiteral("/photos"));
        EXPECT_EQ(prompter().chooseColor(Qt::red), QColor(Qt::blue));

        ASSERT_EQ(prompts.requests().size(), 4);
        const RecordingPrompter::Request &first = prompts.requests()[0];
        EXPECT_EQ(first.kind, RecordingPrompter::Kind::Message);
        EXPECT_EQ(first.icon, PromptIcon::Question);
        EXPECT_EQ(first.title, QStringLiteral("ﾀｲﾄﾙ"));
        EXPECT_EQ(first.text, QStringLiteral("本文"));
        EXPECT_EQ(first.buttons, PromptButtons::YesNo);
        EXPECT_EQ(prompts.requests()[2].startFolder, QStringLiteral("/start"));
        EXPECT_EQ(prompts.requests()[3].kind, RecordingPrompter::Kind::Color);
        prompts.expectAllAnswered();
    }
    EXPECT_EQ(&prompter(), before);
}

TEST(Prompter, UnexpectedPromptFailsTheTestAndIsCancelled)
{
    RecordingPrompter prompts;
    PromptAnswer answer = PromptAnswer::Ok;
    EXPECT_NONFATAL_FAILURE(answer = prompter().message(PromptIcon::Question, QStringLiteral("t"),
                                                        QStringLiteral("上書きしますか?"),
                                                        PromptButtons::YesNoCancel),
                            "unexpected prompt");
    EXPECT_EQ(answer, PromptAnswer::Cancel);
    ASSERT_EQ(prompts.requests().size(), 1);
    EXPECT_TRUE(prompts.requests()[0].unexpected);

    prompts.queueAnswer(PromptAnswer::Ok);
    EXPECT_NONFATAL_FAILURE(prompts.expectAllAnswered(), "unused");
}
