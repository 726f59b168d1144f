#include "platform/prompter.h"

#include <QtGlobal>

namespace
{
// Used while no real prompter is installed (a tool without windows, or a
// test that forgot to install one): says what would have been asked and
// takes the safe way out.
class CancellingPrompter : public Prompter
{
  public:
    PromptAnswer message(PromptIcon, const QString &title, const QString &text,
                         PromptButtons buttons) override
    {
        qWarning("%s: %s", qUtf8Printable(title), qUtf8Printable(text));
        return cancelAnswerFor(buttons);
    }
    QString chooseOpenFile(const QString &, const QString &, const QString &) override
    {
        return QString();
    }
    QString chooseFolder(const QString &, const QString &) override { return QString(); }
    std::optional<QFont> chooseFont(const QFont &) override { return std::nullopt; }
    std::optional<QColor> chooseColor(const QColor &) override { return std::nullopt; }
};

CancellingPrompter fallback;
Prompter *installed = nullptr;
} // namespace

Prompter &prompter()
{
    return installed ? *installed : fallback;
}

void setPrompter(Prompter *p)
{
    installed = (p == &fallback) ? nullptr : p;
}

PromptAnswer cancelAnswerFor(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::Ok:
        return PromptAnswer::Ok;
    case PromptButtons::OkCancel:
    case PromptButtons::YesNoCancel:
    case PromptButtons::RetryCancel:
    case PromptButtons::YesAllNoCancel:
        return PromptAnswer::Cancel;
    case PromptButtons::YesNo:
        return PromptAnswer::No;
    case PromptButtons::AbortRetryIgnore:
        return PromptAnswer::Abort;
    }
    return PromptAnswer::Cancel;
}
