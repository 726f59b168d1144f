#include "core/scan/heapreuse.h"
#include "core/settings/settings.h"
#include "platform/prompter.h"
#include "platform/widgetprompter.h"
#include "ui/japanesefonts.h"
#include "ui/main/form1.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

// tabilo [FOLDER | PICTURE]: starts with the stored settings and an empty list, or with the
// named folder (a picture: its folder, that picture selected) as a file manager's "Open with"
// passes it.
int main(int argc, char *argv[])
{
    keepFreedHeapForReuse();
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tabilo"));
    QCoreApplication::setApplicationName(QStringLiteral("Tabilo"));
    installJapaneseFontSubstitutes();

    // The interface is Japanese whatever the locale: Qt's own buttons and dialogs too.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ja"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);

    WidgetPrompter widgetPrompter;
    setPrompter(&widgetPrompter);

    Form1 mainWindow(settingsStore());
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1) {
        // Once the window is painted, so that the scan's progress shows in it.
        QTimer::singleShot(0, &mainWindow, [&mainWindow, path = arguments.at(1)] {
            mainWindow.openStartPath(path);
        });
    }
    const int result = QApplication::exec();
    setPrompter(nullptr);
    return result;
}
