#include "ui/convert/frmjpg2exif.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/errorlog.h"
#include "core/settings/settings.h"
#include "exif/jpgtoexifrun.h"
#include "platform/fileerror.h"
#include "platform/jpg2exifattributes.h"
#include "platform/prompter.h"
#include "platform/tempfolder.h"

namespace
{

const QString kBackupKey = QStringLiteral("J2Eback");
const QString kQualityKey = QStringLiteral("J2Evalue");
constexpr quint8 kQualities[3] = {90, 80, 70};

const QString kWriteErrorTitle = QStringLiteral("書き込みｴﾗｰ");

ErrorRecord errorRecordOf(const StepError &step)
{
    const FileError error = fileErrorOf(step);
    return ErrorRecord{error.number, QStringLiteral("Tabilo"), error.description};
}

} // namespace

frmJpg2Exif::frmJpg2Exif(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmJpg2Exif"));
    setWindowTitle(QStringLiteral("Exif変換"));
    setModal(true);
    buildControls();
    Check1->setChecked(readSettingInt16(settingsStore(), kBackupKey, 0) == 1);
    const qint16 quality = readSettingInt16(settingsStore(), kQualityKey, 0);
    OptVal[quality >= 0 && quality < 3 ? quality : 0]->setChecked(true);
}

void frmJpg2Exif::buildControls()
{
    auto *layout = new QVBoxLayout(this);
    const QString explanation[4] = {
        QStringLiteral("ﾌｫﾙﾀﾞ内の非ExifﾌｧｲﾙをExifﾌｧｲﾙに変換します｡"),
        QStringLiteral("変換すると次回から読み込みが格段に速くなります。"),
        QStringLiteral("変換しても画質は一切低下しませんが、"),
        QStringLiteral("ﾌｧｲﾙｻｲｽﾞが数Kﾊﾞｲﾄ大きくなります｡")};
    for (int i = 0; i < 4; ++i) {
        Label1[i] = new QLabel(explanation[i], this);
        Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        layout->addWidget(Label1[i]);
    }

    Frame2 = new QGroupBox(QStringLiteral("ｻﾑﾈｲﾙの画質"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto *qualities = new QHBoxLayout(Frame2);
    const QString options[3] = {QStringLiteral("高画質(&H)"), QStringLiteral("標準(&N)"),
                                QStringLiteral("低画質(&L)")};
    for (int i = 0; i < 3; ++i) {
        OptVal[i] = new QRadioButton(options[i], Frame2);
        OptVal[i]->setObjectName(QStringLiteral("OptVal_%1").arg(i));
        qualities->addWidget(OptVal[i]);
    }
    layout->addWidget(Frame2);

    Check1 = new QCheckBox(QStringLiteral("ｵﾘｼﾞﾅﾙ画像をﾊﾞｯｸｱｯﾌﾟﾌｧｲﾙとして残す｡(&B)"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    layout->addWidget(Check1);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->hide();
    layout->addWidget(ProgressBar1);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    layout->addWidget(Label2);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    comOKbutton = new QPushButton(QStringLiteral("OK"), this);
    comOKbutton->setObjectName(QStringLiteral("comOKbutton"));
    comOKbutton->setDefault(true);
    comCancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    comCancelButton->setObjectName(QStringLiteral("comCancelButton"));
    buttons->addWidget(comOKbutton);
    buttons->addWidget(comCancelButton);
    layout->addLayout(buttons);

    connect(comOKbutton, &QPushButton::clicked, this, &frmJpg2Exif::comOKbutton_Click);
    connect(comCancelButton, &QPushButton::clicked, this, &frmJpg2Exif::comCancelButton_Click);
}

std::optional<int> frmJpg2Exif::run(QWidget *parent, const QString &folder,
                                    const QStringList &names)
{
    frmJpg2Exif dialog(parent);
    dialog.setPictures(folder, names);
    dialog.exec();
    return dialog.converted();
}

QString frmJpg2Exif::statusText(int converted)
{
    return QString::number(converted) + QStringLiteral(" ﾌｧｲﾙを変換しました。");
}

void frmJpg2Exif::setPictures(const QString &folder, const QStringList &names)
{
    m_folder = folder;
    m_names = names;
}

void frmJpg2Exif::comOKbutton_Click()
{
    if (!m_inRun) {
        startRun();
        return;
    }
    requestStop();
}

void frmJpg2Exif::comCancelButton_Click()
{
    // After "中断" the run still finishes the file in hand; its end closes the dialog.
    if (!m_inRun)
        QDialog::reject();
}

void frmJpg2Exif::reject()
{
    if (m_inRun)
        requestStop(); // Esc during a run stops it; the run's end closes the dialog
    else
        QDialog::reject();
}

// "中断": the run stops after the file in hand, then stores and closes. Clicks that
// arrive before that (a second click, Enter held) find the run still going and change nothing.
void frmJpg2Exif::requestStop()
{
    m_running = false;
    comCancelButton->setEnabled(true);
    comOKbutton->setText(QStringLiteral("OK"));
}

void frmJpg2Exif::closeEvent(QCloseEvent *event)
{
    if (m_inRun) {
        m_running = false;
        event->ignore(); // closed by the run's end, after the file in hand
        return;
    }
    QDialog::closeEvent(event);
}

quint8 frmJpg2Exif::chosenQuality() const
{
    for (int i = 0; i < 3; ++i) {
        if (OptVal[i]->isChecked())
            return kQualities[i];
    }
    return kQualities[0];
}

void frmJpg2Exif::startRun()
{
    comCancelButton->setEnabled(false);
    comOKbutton->setText(QStringLiteral("中断"));
    m_inRun = true;
    m_running = true;
    Check1->setEnabled(false);
    for (QRadioButton *option : OptVal)
        option->setEnabled(false);
    if (m_names.size() > 1) {
        ProgressBar1->setRange(0, int(m_names.size()));
        ProgressBar1->setValue(0);
        ProgressBar1->show();
    }

    QStringList paths;
    for (const QString &name : m_names)
        paths.append(m_folder + name);
    Jpg2ExifOptions options;
    options.quality = chosenQuality();
    options.keepBackup = Check1->isChecked();
    options.workFolder = temporaryFolder();

    Jpg2ExifPorts ports = jpg2ExifAttributePorts();
    ports.log = [](const QString &label, const StepError &error) {
        LogError(label, errorRecordOf(error));
    };
    ports.progress = [this](int handled, int total) { showProgress(handled, total); };
    ports.keepRunning = [this] { return m_running; };
    ports.fileDone = [](const QString &, Jpg2ExifOutcome, const QString &) {};
    endRun(runJpg2Exif(paths, options, ports));
}

void frmJpg2Exif::showProgress(int handled, int total)
{
    ProgressBar1->setValue(handled);
    Label2->setText(QString::number(handled) + QStringLiteral(" / ") + QString::number(total));
    QCoreApplication::processEvents();
}

void frmJpg2Exif::endRun(const Jpg2ExifResult &result)
{
    m_running = false;
    m_inRun = false;
    if (result.end == Jpg2ExifEnd::WriteDenied)
        prompter().message(PromptIcon::Critical, kWriteErrorTitle,
                           QStringLiteral("ﾌｧｲﾙの書き込みができません。変換を中断します。"),
                           PromptButtons::Ok);
    else if (result.end == Jpg2ExifEnd::BackupExists)
        prompter().message(PromptIcon::Critical, kWriteErrorTitle,
                           QStringLiteral("同名のﾌｧｲﾙが存在します。変換を中断します。"),
                           PromptButtons::Ok);
    m_converted = result.converted;
    storeSettings();
    Q_EMIT conversionFinished(result.converted);
    accept();
}

void frmJpg2Exif::storeSettings() const
{
    writeSettingInt16(settingsStore(), kBackupKey, Check1->isChecked() ? 1 : 0);
    qint16 index = 0;
    for (qint16 i = 0; i < 3; ++i) {
        if (OptVal[i]->isChecked())
            index = i;
    }
    writeSettingInt16(settingsStore(), kQualityKey, index);
}
