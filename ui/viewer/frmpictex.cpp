#include "ui/viewer/frmpictex.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>

#include "core/errorlog.h"
#include "core/settings/settings.h"
#include "exif/shownpicture.h"
#include "platform/fileerror.h"
#include "platform/prompter.h"
#include "ui/viewer/externalprogram.h"
#include "ui/viewer/fittedpicture.h"
#include "ui/viewer/picturecanvas.h"
#include "ui/viewer/viewergeometry.h"

namespace
{
const QString loadPlace = QStringLiteral("frmpicEX");
const QString errorSource = QStringLiteral("Tabilo");
constexpr int invalidPictureError = 481;

bool fitSetting()
{
    return appSettings().general.gAutoSizeFit == 1;
}
} // namespace

frmPictEX::frmPictEX(const QString &picturePath, QWidget *parent)
    : QMainWindow(parent), m_picturePath(picturePath)
{
    setObjectName(QStringLiteral("frmPictEX"));
    m_inner = new QWidget(this);
    m_inner->setObjectName(QStringLiteral("inner"));
    setCentralWidget(m_inner);

    m_picDest = new PictureCanvas(m_inner);
    m_picDest->setObjectName(QStringLiteral("PicDest"));
    m_imgDest = new FittedPicture(m_inner);
    m_imgDest->setObjectName(QStringLiteral("ImgDest"));

    for (QWidget *surface :
         {m_inner, static_cast<QWidget *>(m_picDest), static_cast<QWidget *>(m_imgDest)})
        surface->installEventFilter(this);

    createMenus();
    createPopup();
}

frmPictEX *frmPictEX::showPicture(const QString &picturePath)
{
    auto *viewer = new frmPictEX(picturePath);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->Form_Load();
    return viewer;
}

void frmPictEX::Form_Load()
{
    loadPicture();
    showMode(fitSetting());
    setWindowTitle(viewerTitle(m_picturePath, m_picture.size()));
    m_picDest->setPicture(m_picture);
    m_imgDest->setPicture(m_picture);

    // The window frame is known only once the window is on screen: place it
    // with the frame known so far, then again with the real one.
    placeWindow();
    show();
    QApplication::processEvents();
    placeWindow();
    Form_Resize();
}

void frmPictEX::loadPicture()
{
    const QFileInfo info(m_picturePath);
    if (!info.exists()) {
        prompter().message(PromptIcon::Critical, QString(),
                           m_picturePath + QStringLiteral("が読み込めません。"), PromptButtons::Ok);
        return;
    }
    if (!info.isReadable()) {
        LogError(loadPlace, ErrorRecord{FileErrorNumber::PathFileAccess, errorSource,
                                        m_picturePath + QStringLiteral(": permission denied")});
        return;
    }
    const DecodedJpeg decoded =
        readShownPicture(m_picturePath, appSettings().general.AutoOrient == 1);
    m_picture = decoded.image;
    if (m_picture.isNull())
        LogError(loadPlace, ErrorRecord{invalidPictureError, errorSource,
                                        m_picturePath + QStringLiteral(": ") + decoded.error});
}

bool frmPictEX::showsFitted() const
{
    return !m_imgDest->isHidden();
}

void frmPictEX::showMode(bool fitted)
{
    m_imgDest->setVisible(fitted);
    m_picDest->setVisible(!fitted);
    m_mnuOptionAutoSize->setChecked(fitted);
    m_popMnuAutoSize->setChecked(fitted);
    m_mnuOptionOriginSize->setChecked(!fitted);
    m_popMnuOriginSize->setChecked(!fitted);
}

void frmPictEX::placeWindow()
{
    const QRect workArea = screen()->availableGeometry();
    const QSize decoration = frameGeometry().size() - size();
    // Before the window is laid out its inner area is not known yet; the menu
    // bar is then all that lies between the decoration and the picture.
    const QSize frame = isVisible() ? frameGeometry().size() - m_inner->size()
                                    : decoration + QSize(0, menuBar()->sizeHint().height());
    const QSize outer = viewerOpeningSize(m_picture.size(), frame, workArea.size(), fitSetting());
    resize(outer - decoration);
    move(workArea.topLeft());
}

void frmPictEX::Form_Resize()
{
    if (isMinimized())
        return;
    const QSize inner = m_inner->size();
    m_imgDest->setGeometry(QRect(QPoint(0, 0), fittedPictureSize(m_picture.size(), inner)));
    m_picDest->setGeometry(QRect(QPoint(0, 0), inner));
    m_picDest->setVisibleSize(QSize(visibleLength(m_picture.width(), inner.width()),
                                    visibleLength(m_picture.height(), inner.height())));
}

void frmPictEX::mnuFileEXprogram_Click()
{
    runExternalProgram(m_picturePath);
}

void frmPictEX::mnuOptionAutoSize_Click()
{
    appSettings().general.gAutoSizeFit = 1;
    showMode(true);
    Form_Resize();
}

void frmPictEX::mnuOptionOriginSize_Click()
{
    appSettings().general.gAutoSizeFit = 0;
    showMode(false);
    Form_Resize();
}

void frmPictEX::mnuFileExit_Click()
{
    close();
}

bool frmPictEX::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_inner && event->type() == QEvent::Resize)
        Form_Resize();
    if (event->type() == QEvent::MouseButtonRelease) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton) {
            showPopup(mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmPictEX::contextMenuEvent(QContextMenuEvent *event)
{
    // The mouse's pop-up comes on the button's release; this is the keyboard's.
    if (event->reason() == QContextMenuEvent::Keyboard)
        showPopup(m_inner->mapToGlobal(QPoint(0, 0)));
}

void frmPictEX::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void frmPictEX::closeEvent(QCloseEvent *event)
{
    m_picDest->clearPicture();
    m_imgDest->clearPicture();
    m_picture = QImage();
    QMainWindow::closeEvent(event);
}
