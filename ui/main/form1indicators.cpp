#include "ui/main/form1.h"

#include "core/settings/settings.h"
#include "ui/main/statuspanel.h"
#include "ui/viewer/externalprogram.h"

#include <QAction>
#include <QFileInfo>

void Form1::showVisibleMode()
{
    static const QString kPublic = QStringLiteral("公開");
    static const QString kPrivate = QStringLiteral("非公開");
    QString visible;
    QString hidden;
    QString pressed;
    switch (appSettings().general.gVisibleMode) {
    case 0:
        visible = kPublic;
        hidden = kPrivate;
        pressed = QStringLiteral("ShowAll");
        break;
    case 1:
        visible = kPublic;
        pressed = QStringLiteral("ShowNormal");
        break;
    case 2:
        hidden = kPrivate;
        pressed = QStringLiteral("ShowHidden");
        break;
    default:
        return;
    }
    statusPanel(3)->setText(visible);
    statusPanel(4)->setText(hidden);
    toolButton(pressed)->setChecked(true);
}

void Form1::showThumbSize()
{
    switch (appSettings().general.gThumbSize) {
    case 0:
        toolButton(QStringLiteral("SetBig"))->setChecked(true);
        break;
    case 1:
        toolButton(QStringLiteral("SetMid"))->setChecked(true);
        break;
    case 2:
        toolButton(QStringLiteral("SetSmall"))->setChecked(true);
        break;
    default:
        break;
    }
}

// Panel 6 names the viewer a double click opens: the built-in one, or the default external
// program, found as its launch finds it ("要確認" when that would fail).
void Form1::showViewerPanel()
{
    const ExProgramSettings &exProgram = appSettings().exProgram;
    if (!exProgram.gDefExPro) {
        statusPanel(6)->setText(QStringLiteral("内蔵ﾋﾞｭｰｱｰ"));
        return;
    }
    const QString program = findExternalProgram(chosenExternalProgram());
    const QString name =
        program.isEmpty() ? QStringLiteral("要確認") : QFileInfo(program).fileName();
    statusPanel(6)->setText(exProgram.ExProDirect != 0 ? name : QStringLiteral("内蔵 / ") + name);
}
