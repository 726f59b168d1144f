#include "platform/widgetprompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

namespace
{
QMessageBox::Icon messageBoxIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::None:
        return QMessageBox::NoIcon;
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Exclamation:
        return QMessageBox::Warning;
    case PromptIcon::Critical:
        return QMessageBox::Critical;
    case PromptIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons messageBoxButtons(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::Ok:
        return QMessageBox::Ok;
    case PromptButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case PromptButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case PromptButtons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case PromptButtons::YesAllNoCancel:
        return QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

PromptAnswer promptAnswer(int button, PromptButtons buttons)
{
    switch (button) {
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    case QMessageBox::Cancel:
        return PromptAnswer::Cancel;
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Retry:
        return PromptAnswer::Retry;
    case QMessageBox::Abort:
        return PromptAnswer::Abort;
    case QMessageBox::Ignore:
        return PromptAnswer::Ignore;
    case QMessageBox::YesToAll:
        return PromptAnswer::YesToAll;
    default:
        return cancelAnswerFor(buttons); // closed by the window manager
    }
}

QWidget *owner()
{
    return QApplication::activeWindow();
}
} // namespace

PromptAnswer WidgetPrompter::message(PromptIcon icon, const QString &title, const QString &text,
                                     PromptButtons buttons)
{
    QMessageBox box(messageBoxIcon(icon), title, text, messageBoxButtons(buttons), owner());
    return promptAnswer(box.exec(), buttons);
}

QString WidgetPrompter::chooseOpenFile(const QString &title, const QString &filter,
                                       const QString &startFolder)
{
    return QFileDialog::getOpenFileName(owner(), title, startFolder, filter);
}

QString WidgetPrompter::chooseFolder(const QString &title, const QString &startFolder)
{
    return QFileDialog::getExistingDirectory(owner(), title, startFolder);
}

std::optional<QFont> WidgetPrompter::chooseFont(const QFont &initial)
{
    bool accepted = false;
    const QFont font = QFontDialog::getFont(&accepted, initial, owner());
    if (!accepted)
        return std::nullopt;
    return font;
}

std::optional<QColor> WidgetPrompter::chooseColor(const QColor &initial)
{
    const QColor color = QColorDialog::getColor(initial, owner());
    if (!color.isValid())
        return std::nullopt;
    return color;
}
