#pragma once

#include "platform/prompter.h"

// Prompts as the user sees them: message boxes owned by the active window,
// the file, folder, font and colour choosers of Qt.
class WidgetPrompter : public Prompter
{
  public:
    PromptAnswer message(PromptIcon icon, const QString &title, const QString &text,
                         PromptButtons buttons) override;
    QString chooseOpenFile(const QString &title, const QString &filter,
                           const QString &startFolder) override;
    QString chooseFolder(const QString &title, const QString &startFolder) override;
    std::optional<QFont> chooseFont(const QFont &initial) override;
    std::optional<QColor> chooseColor(const QColor &initial) override;
};
