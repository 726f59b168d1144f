#pragma once

#include <QProgressDialog>

// The progress of a copy or move batch: titled "ファイルのコピー" or "ファイルの移動", shown
// once the batch has run for half a second, with a cancel button that ends the batch before
// its next picture. Modal to its owner, so nothing else starts meanwhile.
class TransferProgress
{
  public:
    TransferProgress(const QString &title, int total, QWidget *owner);

    // Before picture `number` (from 1): moves the bar on and lets pending events run.
    void show(int number, const QString &name);
    bool cancelled() const { return m_dialog.wasCanceled(); }

  private:
    QProgressDialog m_dialog;
};
