#pragma once

#include <optional>

#include <QColor>
#include <QFont>
#include <QString>

enum class PromptIcon { None, Information, Exclamation, Critical, Question };
// YesAllNoCancel: yes, yes to all, no, cancel (a name clash in a batch of files).
enum class PromptButtons {
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
    RetryCancel,
    AbortRetryIgnore,
    YesAllNoCancel
};
enum class PromptAnswer { Ok, Cancel, Yes, No, Retry, Abort, Ignore, YesToAll };

// Every message box, question and chooser of the program goes through here,
// so that tests can answer them and check what the user would have seen.
class Prompter
{
  public:
    virtual ~Prompter() = default;

    virtual PromptAnswer message(PromptIcon icon, const QString &title, const QString &text,
                                 PromptButtons buttons) = 0;
    // An empty result means cancelled. `filter` in Qt form ("画像ﾌｧｲﾙ (*.jpg)").
    virtual QString chooseOpenFile(const QString &title, const QString &filter,
                                   const QString &startFolder) = 0;
    virtual QString chooseFolder(const QString &title, const QString &startFolder) = 0;
    virtual std::optional<QFont> chooseFont(const QFont &initial) = 0;
    virtual std::optional<QColor> chooseColor(const QColor &initial) = 0;
};

// The process-wide prompter. Until one is installed, a fallback writes each
// message to stderr and answers as if the user had cancelled (Cancel, No,
// Abort, or Ok for a lone Ok button) and cancels every chooser.
Prompter &prompter();

// Installs `p` (not owned; it must outlive its use). nullptr restores the
// fallback. main() installs the widget prompter; tests install a fake.
void setPrompter(Prompter *p);

// The answer a cancelled prompt of these buttons gives.
PromptAnswer cancelAnswerFor(PromptButtons buttons);
