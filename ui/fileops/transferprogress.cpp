#include "ui/fileops/transferprogress.h"

#include <QCoreApplication>

TransferProgress::TransferProgress(const QString &title, int total, QWidget *owner)
    : m_dialog(QString(), QStringLiteral("ｷｬﾝｾﾙ"), 0, total, owner)
{
    m_dialog.setObjectName(QStringLiteral("frmTransferProgress"));
    m_dialog.setWindowTitle(title);
    m_dialog.setWindowModality(Qt::WindowModal);
    m_dialog.setMinimumDuration(500);
    m_dialog.setAutoClose(true);
}

void TransferProgress::show(int number, const QString &name)
{
    m_dialog.setLabelText(name);
    m_dialog.setValue(number - 1);
    QCoreApplication::processEvents();
}
