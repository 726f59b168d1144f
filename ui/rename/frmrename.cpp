#include "ui/rename/frmrename.h"

#include <functional>

#include <QCoreApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/errorlog.h"
#include "core/rename/daterename.h"
#include "core/rename/foldernames.h"
#include "core/scan/thumbnaillistmodel.h"
#include "platform/fileerror.h"
#include "platform/hiddenmarkcarrier.h"
#include "ui/help/help.h"

namespace
{

constexpr int kHelpContext = 2000;

} // namespace

frmRename::frmRename(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmRename"));
    setWindowTitle(QStringLiteral("ﾘﾈｰﾑ"));
    setModal(true);
    buildControls();
}

void frmRename::buildControls()
{
    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(12);
    layout->setContentsMargins(16, 16, 16, 16);
    for (int i = 0; i < 2; ++i) {
        Label1[i] = new QLabel(this);
        Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        Label1[i]->setFont(QFont(QStringLiteral("ＭＳ ゴシック")));
        layout->addWidget(Label1[i]);
    }
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    layout->addWidget(ProgressBar1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    RenOKbtn = new QPushButton(QStringLiteral("OK"), this);
    RenOKbtn->setObjectName(QStringLiteral("RenOKbtn"));
    RenOKbtn->setDefault(true);
    RenCancelBtn = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    RenCancelBtn->setObjectName(QStringLiteral("RenCancelBtn"));
    RenHelpBtn = new QPushButton(QStringLiteral("ﾍﾙﾌﾟ"), this);
    RenHelpBtn->setObjectName(QStringLiteral("RenHelpBtn"));
    for (QPushButton *button : {RenOKbtn, RenCancelBtn, RenHelpBtn})
        buttons->addWidget(button);
    layout->addLayout(buttons);

    connect(RenOKbtn, &QPushButton::clicked, this, &frmRename::RenOKbtn_Click);
    connect(RenCancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(RenHelpBtn, &QPushButton::clicked, this, &frmRename::RenHelpBtn_Click);
}

std::optional<int> frmRename::run(const QString &folder, ThumbnailListModel *list)
{
    m_folder = folder;
    m_list = list;
    m_done.reset();
    Form_Load();
    exec();
    return m_done;
}

QString frmRename::statusText(int done)
{
    return QString::number(done) + QStringLiteral(" ﾌｧｲﾙをﾘﾈｰﾑしました。");
}

// Every opening explains the run again and starts without a progress bar.
void frmRename::Form_Load()
{
    Label1[0]->setText(
        QStringLiteral("現在表示している画像のﾌｧｲﾙ名を \r\n\r\n年月日_時分秒.jpg に変更します。"));
    Label1[1]->setText(QStringLiteral("万一に備えてﾊﾞｯｸｱｯﾌﾟを取ってから\r\n\r\n実行して下さい。"));
    ProgressBar1->hide();
}

// The whole run happens inside the click; the bar is its only feedback, so events run only
// to paint it, never to take the user's input.
void frmRename::RenOKbtn_Click()
{
    const int count = m_list->rowCount();
    if (count > 1) {
        ProgressBar1->setRange(0, count);
        ProgressBar1->setValue(0);
        ProgressBar1->show();
    }
    QStringList names;
    for (int row = 0; row < count; ++row)
        names.append(m_list->name(row));

    FolderNames entries(m_folder);
    HiddenMarkCarrier marks(m_folder);
    DateRenamePorts ports;
    ports.progress = [this](int index) {
        ProgressBar1->setValue(index + 1);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    ports.renamed = [this](int index, const QString &newName) { m_list->setName(index, newName); };
    ports.keepMark = std::bind_front(&HiddenMarkCarrier::rename, &marks);
    ports.log = [](const QString &label, const StepError &step) {
        const FileError error = fileErrorOf(step);
        LogError(label, ErrorRecord{error.number, QStringLiteral("Tabilo"), error.description});
    };
    m_done = renameToShootingDate(m_folder, names, entries, ports);
    accept();
}

void frmRename::RenHelpBtn_Click()
{
    showHelpContext(kHelpContext);
    showHelpContents();
}
