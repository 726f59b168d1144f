#pragma once

// A Prompter for tests: records every prompt and answers from queues that the
// test fills beforehand. A prompt with nothing queued for it is a test
// failure (ADD_FAILURE) and is answered as cancelled.
//
//   RecordingPrompter prompts;           // installs itself, restores on exit
//   prompts.queueAnswer(PromptAnswer::Yes);
//   runTheCommand();
//   ASSERT_EQ(prompts.requests().size(), 1);
//   EXPECT_EQ(prompts.requests()[0].text, QStringLiteral("..."));
//   prompts.expectAllAnswered();          // nothing left in the queues

#include <deque>
#include <optional>

#include <gtest/gtest.h>

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>

#include "platform/prompter.h"

class RecordingPrompter : public Prompter
{
  public:
    enum class Kind { Message, OpenFile, Folder, Font, Color };

    struct Request {
        Kind kind = Kind::Message;
        PromptIcon icon = PromptIcon::None;        // messages only
        QString title;                             // messages and file/folder choosers
        QString text;                              // messages only
        PromptButtons buttons = PromptButtons::Ok; // messages only
        QString filter;                            // open-file chooser only
        QString startFolder;                       // file/folder choosers only
        bool unexpected = false;                   // nothing was queued for it
    };

    RecordingPrompter() : m_previous(&prompter()) { setPrompter(this); }
    ~RecordingPrompter() override { setPrompter(m_previous); }
    RecordingPrompter(const RecordingPrompter &) = delete;
    RecordingPrompter &operator=(const RecordingPrompter &) = delete;

    // Answers, each used once in the order queued, per kind of prompt.
    void queueAnswer(PromptAnswer answer) { m_answers.push_back(answer); }
    void queueOpenFile(const QString &path) { m_files.push_back(path); } // "" = cancel
    void queueFolder(const QString &folder) { m_folders.push_back(folder); }
    void queueFont(const std::optional<QFont> &font) { m_fonts.push_back(font); }
    void queueColor(const std::optional<QColor> &color) { m_colors.push_back(color); }

    const QList<Request> &requests() const { return m_requests; }
    void clear() { m_requests.clear(); }

    // Fails the test when a queued answer was never asked for.
    void expectAllAnswered() const
    {
        EXPECT_TRUE(m_answers.empty()) << m_answers.size() << " message answer(s) unused";
        EXPECT_TRUE(m_files.empty()) << m_files.size() << " open-file answer(s) unused";
        EXPECT_TRUE(m_folders.empty()) << m_folders.size() << " folder answer(s) unused";
        EXPECT_TRUE(m_fonts.empty()) << m_fonts.size() << " font answer(s) unused";
        EXPECT_TRUE(m_colors.empty()) << m_colors.size() << " colour answer(s) unused";
    }

    PromptAnswer message(PromptIcon icon, const QString &title, const QString &text,
                         PromptButtons buttons) override
    {
        Request request{Kind::Message, icon, title, text, buttons, {}, {}, false};
        return answer(m_answers, request, cancelAnswerFor(buttons));
    }

    QString chooseOpenFile(const QString &title, const QString &filter,
                           const QString &startFolder) override
    {
        Request request{Kind::OpenFile,    PromptIcon::None, title,       {},
                        PromptButtons::Ok, filter,           startFolder, false};
        return answer(m_files, request, QString());
    }

    QString chooseFolder(const QString &title, const QString &startFolder) override
    {
        Request request{Kind::Folder, PromptIcon::None, title, {}, PromptButtons::Ok,
                        {},           startFolder,      false};
        return answer(m_folders, request, QString());
    }

    std::optional<QFont> chooseFont(const QFont &) override
    {
        Request request;
        request.kind = Kind::Font;
        return answer(m_fonts, request, std::optional<QFont>());
    }

    std::optional<QColor> chooseColor(const QColor &) override
    {
        Request request;
        request.kind = Kind::Color;
        return answer(m_colors, request, std::optional<QColor>());
    }

  private:
    template <typename T> T answer(std::deque<T> &queue, Request request, T cancelled)
    {
        if (queue.empty()) {
            request.unexpected = true;
            m_requests.append(request);
            ADD_FAILURE() << "unexpected prompt: \"" << request.title.toStdString() << "\" / \""
                          << request.text.toStdString() << "\"";
            return cancelled;
        }
        m_requests.append(request);
        T value = queue.front();
        queue.pop_front();
        return value;
    }

    Prompter *m_previous;
    QList<Request> m_requests;
    std::deque<PromptAnswer> m_answers;
    std::deque<QString> m_files;
    std::deque<QString> m_folders;
    std::deque<std::optional<QFont>> m_fonts;
    std::deque<std::optional<QColor>> m_colors;
};
