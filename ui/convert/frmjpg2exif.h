#pragma once

#include <optional>

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
struct Jpg2ExifResult;

// The dialog that converts the plain JPEG files of the shown folder into Exif
// files in place, optionally keeping each unconverted file as "<name>.bak".
class frmJpg2Exif : public QDialog
{
    Q_OBJECT

  public:
    explicit frmJpg2Exif(QWidget *parent = nullptr);

    // Shows the dialog modally for the pictures `names` (the main window's
    // File1 entries, in list order) of `folder` (ending in "/"). Returns the
    // number of files converted by a run, or nothing when the dialog was
    // closed without one.
    static std::optional<int> run(QWidget *parent, const QString &folder, const QStringList &names);

    // Status panel 1's text after a run.
    static QString statusText(int converted);

    // The pictures a run covers.
    void setPictures(const QString &folder, const QStringList &names);
    // Converted files of the last run; nothing before a run.
    std::optional<int> converted() const { return m_converted; }

  Q_SIGNALS:
    // A run ended: the status text is statusText(converted).
    void conversionFinished(int converted);

  protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

  private Q_SLOTS:
    void comOKbutton_Click();
    void comCancelButton_Click();

  private:
    void buildControls();
    void startRun();
    void requestStop();
    void showProgress(int handled, int total);
    void endRun(const Jpg2ExifResult &result);
    void storeSettings() const;
    quint8 chosenQuality() const;

    QLabel *Label1[4] = {};
    QGroupBox *Frame2 = nullptr;
    QRadioButton *OptVal[3] = {};
    QCheckBox *Check1 = nullptr;
    QPushButton *comOKbutton = nullptr;
    QPushButton *comCancelButton = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QLabel *Label2 = nullptr;

    QString m_folder;
    QStringList m_names;
    bool m_inRun = false;   // from the start of a run to its end
    bool m_running = false; // the run goes on after the file in hand
    std::optional<int> m_converted;
};
