#include "ui/help/help.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QWindow>

#include "platform/installlayout.h"
#include "ui/help/helpwindow.h"

namespace
{
QPointer<HelpWindow> openHelpWindow;

HelpWindow *helpWindow()
{
    if (!openHelpWindow) {
        openHelpWindow = new HelpWindow(helpFolder());
        openHelpWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    return openHelpWindow;
}

// Help asked for from a modal dialog is that dialog's transient child, which the dialog does
// not block; asked for from anywhere else it is a window of its own again.
void bringUp(HelpWindow *window)
{
    const QWidget *dialog = QApplication::activeModalWidget();
    window->winId(); // the native window the transient parent belongs to
    window->windowHandle()->setTransientParent(dialog ? dialog->windowHandle() : nullptr);
    window->show();
    window->raise();
    window->activateWindow();
}
} // namespace

QString helpFolder()
{
    return QDir(dataFolder()).filePath(QStringLiteral("help"));
}

QUrl webPageAddress()
{
    const QString configured = QStringLiteral(TABILO_WEB_PAGE);
    if (!configured.isEmpty())
        return QUrl(configured);
    return QUrl::fromLocalFile(QDir(helpFolder()).filePath(QStringLiteral("contents.html")));
}

bool showHelpContents()
{
    HelpWindow *window = helpWindow();
    window->showContents();
    bringUp(window);
    return window->book().isValid();
}

bool showHelpContext(int context)
{
    HelpWindow *window = helpWindow();
    const bool shown = window->showContext(context);
    bringUp(window);
    return shown;
}

bool showHelpIndex(const QString &keyword)
{
    HelpWindow *window = helpWindow();
    window->showIndex(keyword);
    bringUp(window);
    return window->book().isValid();
}

void closeAllHelp()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (qobject_cast<HelpWindow *>(window))
            window->close();
    }
}
