#pragma once

#include <QImage>
#include <QMainWindow>
#include <QString>

class QAction;
class QMenu;
class FittedPicture;
class PictureCanvas;

// The picture viewer: one picture in a window of its own, either fitted to
// the window (gAutoSizeFit 1) or at its natural size with drag scrolling.
// A new viewer is made for each opening and deletes itself when closed.
class frmPictEX : public QMainWindow
{
    Q_OBJECT

  public:
    explicit frmPictEX(const QString &picturePath, QWidget *parent = nullptr);

    // Opens a new viewer on `picturePath`, modeless.
    static frmPictEX *showPicture(const QString &picturePath);

    // Loads the picture, sizes the window to it within the work area, places
    // it at the work area's top left corner and shows it.
    void Form_Load();

    QString picturePath() const { return m_picturePath; }
    QSize pictureSize() const { return m_picture.size(); }
    // The decoded picture, shared by both views (one copy in memory).
    const QImage &picture() const { return m_picture; }
    bool showsFitted() const;

  public Q_SLOTS:
    void mnuFileEXprogram_Click();
    void mnuOptionAutoSize_Click();
    void mnuOptionOriginSize_Click();
    void mnuFileExit_Click();
    void mnuSetWallPaper_Click();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

  private:
    void createMenus();
    void createPopup();
    void loadPicture();
    void showMode(bool fitted);
    void placeWindow();
    void Form_Resize();
    void showPopup(const QPoint &globalPos);

    QString m_picturePath;
    QImage m_picture;
    QWidget *m_inner = nullptr;
    PictureCanvas *m_picDest = nullptr;
    FittedPicture *m_imgDest = nullptr;

    QAction *m_mnuOptionAutoSize = nullptr;
    QAction *m_mnuOptionOriginSize = nullptr;
    QMenu *m_mnuPop = nullptr;
    QAction *m_popMnuAutoSize = nullptr;
    QAction *m_popMnuOriginSize = nullptr;
    QAction *m_popMnuEXProgram = nullptr;
    QAction *m_popMnuExit = nullptr;
};
