#pragma once

#include <functional>

#include <QColor>
#include <QDialog>
#include <QList>
#include <QString>

#include "core/rotate/rotatefile.h"
#include "platform/spinwellloader.h"

class QItemSelectionModel;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class ThumbnailListModel;

// What the rotation dialog works on: the main list's entries and selection,
// and the shown folder (ending in "/") that every entry's text is a file of.
struct RotateTarget {
    QString folder;
    ThumbnailListModel *model = nullptr;
    QItemSelectionModel *selection = nullptr;
};

// The dialog that turns the selected pictures of the shown folder losslessly
// by quarter turns and regenerates their Exif thumbnails: one selected entry
// is shown in four real previews, any other number is turned as a batch.
class frmRotate : public QDialog
{
    Q_OBJECT

  public:
    // Binds the rotation bridge; the default loads it beside the program.
    using BridgeLoader = std::function<VelmorRotPort(QString *error)>;

    explicit frmRotate(const RotateTarget &target, QWidget *parent = nullptr,
                       BridgeLoader loadBridge = loadVelmorRot);

    // Pictures turned by the run; 0 before one.
    int turnedCount() const { return m_turned; }

  Q_SIGNALS:
    // The settings button asks for the options dialog on page `page`, the rotation page.
    void optionsRequested(int page);

  protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

  private Q_SLOTS:
    void Cmd_OK_Click();
    void Cmd_Cancel_Click();
    void Cmd_Help_Click();
    void Cmd_Setting_Click();

  private:
    // Controls (frmrotate.cpp)
    void buildControls();
    QWidget *buildPreviewGrid();
    void arrangePreviews();
    void chooseDirection(int code);
    int chosenCode() const;
    bool eventFilter(QObject *watched, QEvent *event) override;

    // Opening and the checks (frmrotateprepare.cpp)
    void openDialog(const BridgeLoader &loadBridge);
    bool folderWritable();
    bool bridgeBound(const BridgeLoader &loadBridge);
    bool backupFolderReady(QString &backupFolder);
    void prepareSingle(int row);
    void prepareBatch();
    void showInfo(const QString &text, const QColor &color);
    void refuse(const QString &text);

    // The run (frmrotaterun.cpp)
    bool takeRunSettings(RotateSettings &settings);
    RotatePorts rotatePorts();
    void runSingle(const RotateSettings &settings);
    void runBatch(const RotateSettings &settings);
    void fileDone(const QString &picture, const RotateFileResult &result);
    void showBatchProgress(int number, int total);
    void stepProgress();
    void reportFailures();

    RotateTarget m_target;
    VelmorRotPort m_velmorRot;
    quint8 m_quality = 90;
    QColor m_background;
    int m_selectedCount = 0;
    int m_singleRow = -1;
    bool m_inBatch = false;
    bool m_abort = false;
    int m_turned = 0;
    QStringList m_failures; // "picture: reason" of each file a run could not turn

    QLabel *ImgThm[4] = {};
    QFrame *Shape1[4] = {};
    QRadioButton *OptRot[4] = {};
    QLabel *LblInfo = nullptr;
    QProgressBar *Prb = nullptr;
    QProgressBar *PrbFiles = nullptr;
    QLabel *LblFileNumber = nullptr;
    QPushButton *Cmd_OK = nullptr;
    QPushButton *Cmd_Cancel = nullptr;
    QPushButton *Cmd_Setting = nullptr;
    QPushButton *Cmd_Help = nullptr;
};
