#include "core/settings/settings.h"
#include "platform/prompter.h"
#include "platform/widgetprompter.h"
#include "ui/japanesefonts.h"
#include "ui/main/form1.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

// The program reads no command-line arguments: it starts with the stored settings and an
// empty list.
int main(int argc, char *argv[])
{
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
    const int result = QApplication::exec();
    setPrompter(nullptr);
    return result;
}
