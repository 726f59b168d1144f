#include "app/form1.h"
#include "app/japanesefonts.h"
#include "app/settings.h"
#include "platform/prompter.h"
#include "platform/widgetprompter.h"

#include <QApplication>

// The program reads no command-line arguments: it starts with the stored settings and an
// empty list.
int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tabilo"));
    QCoreApplication::setApplicationName(QStringLiteral("Tabilo"));
    installJapaneseFontSubstitutes();

    WidgetPrompter widgetPrompter;
    setPrompter(&widgetPrompter);

    Form1 mainWindow(settingsStore());
    const int result = QApplication::exec();
    setPrompter(nullptr);
    return result;
}
