#include "ui/main/form1.h"

#include "core/errorlog.h"
#include "platform/prompter.h"
#include "ui/main/statuspanel.h"

#include <QTimer>

// Reads "Tabilo.dat" from the data folder. Without it the program works, only without the
// 35 mm equivalents and zoom factors; the user is told so once the window can be seen.
void Form1::readCameraTable()
{
    switch (m_cameraTable.load(m_dataFolder + QStringLiteral("Tabilo.dat"))) {
    case CameraTable::LoadResult::Loaded:
        statusPanel(1)->setText(QStringLiteral(" ") + QString::number(m_cameraTable.count()) +
                                QStringLiteral(" ﾓﾃﾞﾙのﾃﾞｰﾀを読み込みました。"));
        break;
    case CameraTable::LoadResult::FileMissing:
        QTimer::singleShot(0, this, [] {
            prompter().message(PromptIcon::Exclamation, QStringLiteral("ﾌｧｲﾙが見つかりません"),
                               QStringLiteral("tabilo.datが見つかりません。\r\n"
                                              "動作には問題ありませんが、35mm換算のｆ値 及び "
                                              "ｽﾞｰﾑの倍率が表示されません"),
                               PromptButtons::Ok);
        });
        break;
    case CameraTable::LoadResult::OpenFailed:
        LogError(QStringLiteral("read datafile"),
                 ErrorRecord{m_cameraTable.errorNumber(), QStringLiteral("Tabilo"),
                             m_cameraTable.errorString()});
        break;
    }
}
