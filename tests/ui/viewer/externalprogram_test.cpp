#include "ui/viewer/externalprogram.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "core/errorlog.h"
#include "core/settings/settings.h"
#include "tests/support/qtprinters.h"
#include "tests/support/recordingprompter.h"

namespace
{
const QString errorTitle = QStringLiteral("外部ﾌﾟﾛｸﾞﾗﾑの実行ｴﾗｰ");
const QString notSetText =
    QStringLiteral("外部ﾌﾟﾛｸﾞﾗﾑが設定されていません。\"ﾌｧｲﾙ\"－\"ｵﾌﾟｼｮﾝ\" で設定して下さい。");

class ExternalProgramTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_saved = appSettings().exProgram;
        setErrorLogSink([this](const QString &line) { m_logLines.append(line); });
    }
    void TearDown() override
    {
        setErrorLogSink({});
        appSettings().exProgram = m_saved;
    }

    void choose(int index, const QString &program)
    {
        appSettings().exProgram.ExProgram = {};
        if (index >= 0 && index < 3)
            appSettings().exProgram.ExProgram[size_t(index)] = program;
        appSettings().exProgram.ExProSW = qint16(index);
    }

    // A program that writes its arguments, one a line, to `output`.
    QString writeRecorder(const QString &output)
    {
        const QString path = m_dir.filePath(QStringLiteral("record args"));
        QFile script(path);
        EXPECT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.tmp\"\n"
                     "mv \"$0.tmp\" '" +
                     output.toUtf8() + "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    static void expectCritical(const RecordingPrompter &prompts, const QString &text)
    {
        ASSERT_EQ(prompts.requests().size(), 1);
        EXPECT_EQ(prompts.requests()[0].icon, PromptIcon::Critical);
        EXPECT_EQ(prompts.requests()[0].title, errorTitle);
        EXPECT_EQ(prompts.requests()[0].text, text);
        EXPECT_EQ(prompts.requests()[0].buttons, PromptButtons::Ok);
    }

    QTemporaryDir m_dir;
    ExProgramSettings m_saved;
    QStringList m_logLines;
};
} // namespace

TEST_F(ExternalProgramTest, NoProgramSetIsErrorFiveWithItsMessage)
{
    RecordingPrompter prompts;
    prompts.queueAnswer(PromptAnswer::Ok);
    choose(1, QString());
    appSettings().exProgram.ExProgram[0] = QStringLiteral("/bin/true"); // not the chosen one
    EXPECT_EQ(runExternalProgram(QStringLiteral("/photos/a.jpg")), 5);
    expectCritical(prompts, notSetText);
}

TEST_F(ExternalProgramTest, ChoiceOutsideTheThreeProgramsCountsAsNotSet)
{
    RecordingPrompter prompts;
    prompts.queueAnswer(PromptAnswer::Ok);
    choose(7, QString());
    EXPECT_EQ(chosenExternalProgram(), QString());
    EXPECT_EQ(runExternalProgram(QStringLiteral("/photos/a.jpg")), 5);
    expectCritical(prompts, notSetText);
}

TEST_F(ExternalProgramTest, MissingProgramIsErrorFiftyThreeNamingIt)
{
    RecordingPrompter prompts;
    prompts.queueAnswer(PromptAnswer::Ok);
    const QString missing = m_dir.filePath(QStringLiteral("no such viewer"));
    choose(2, missing);
    EXPECT_EQ(runExternalProgram(QStringLiteral("/photos/a.jpg")), 53);
    expectCritical(prompts, QStringLiteral("外部ﾌﾟﾛｸﾞﾗﾑが実行できません。 ") + missing +
                                QStringLiteral(" が正しいか確認して下さい。"));
}

TEST_F(ExternalProgramTest, FileThatCannotRunIsErrorFiftyThree)
{
    const QString notProgram = m_dir.filePath(QStringLiteral("notes.txt"));
    QFile file(notProgram);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(startExternalProgram(notProgram, QStringLiteral("/a.jpg")).number, 53);
    EXPECT_EQ(startExternalProgram(m_dir.path(), QStringLiteral("/a.jpg")).number, 53);
    EXPECT_EQ(
        startExternalProgram(QStringLiteral("tabilo-no-such-program-xyz"), QStringLiteral("/a.jpg"))
            .number,
        53);
}

TEST_F(ExternalProgramTest, ProgramStartsWithThePicturePathAsItsOneArgument)
{
    RecordingPrompter prompts;
    const QString output = m_dir.filePath(QStringLiteral("args.txt"));
    choose(0, writeRecorder(output));
    const QString picture = m_dir.filePath(QStringLiteral("My \"Photos\"/写真 1.jpg"));
    EXPECT_EQ(runExternalProgram(picture), 0);
    EXPECT_TRUE(prompts.requests().isEmpty());

    QDeadlineTimer deadline(10000);
    while (!QFile::exists(output) && !deadline.hasExpired())
        QTest::qWait(20);
    QFile args(output);
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(args.readAll()), picture + QLatin1Char('\n'));
}

TEST_F(ExternalProgramTest, BareProgramNameIsFoundOnThePath)
{
    RecordingPrompter prompts;
    choose(0, QStringLiteral("true"));
    EXPECT_EQ(runExternalProgram(QStringLiteral("/photos/a.jpg")), 0);
    EXPECT_TRUE(prompts.requests().isEmpty());
}

TEST_F(ExternalProgramTest, OtherFailuresGoToTheErrorLog)
{
    RecordingPrompter prompts;
    reportExternalProgramResult(fileError(75, QStringLiteral("resource busy")),
                                QStringLiteral("/usr/bin/viewer"));
    EXPECT_TRUE(prompts.requests().isEmpty());
    ASSERT_EQ(m_logLines.size(), 1);
    EXPECT_EQ(m_logLines[0], errorLogLine(QStringLiteral("mnuFileEX"),
                                          ErrorRecord{75, QStringLiteral("Tabilo"),
                                                      QStringLiteral("resource busy")}));
}

TEST_F(ExternalProgramTest, ErrorFiftyThreeWithoutAProgramReadsAsNotSet)
{
    RecordingPrompter prompts;
    prompts.queueAnswer(PromptAnswer::Ok);
    reportExternalProgramResult(fileError(53, QStringLiteral("gone")), QString());
    expectCritical(prompts, notSetText);
}
