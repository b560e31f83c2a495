#include "ui/database/frmItems.h"

#include "gridview/List.h"

#include <QLabel>
#include <QProgressBar>

// --- what the exchange commands see
// ---------------------------------------------------------------

void frmItems::showExchangeProgress(const QString& caption, int maximum, int value) {
    pleaseWait();
    m_pleaseWaitCaption->setText(caption);
    m_progress->setMaximum(maximum);
    m_progress->setValue(value);
    m_pleaseWait->show();
    m_pleaseWait->raise();
    m_pleaseWait->repaint();
}

void frmItems::hideExchangeProgress() {
    pleaseWait().hide();
}

void frmItems::showGrid(bool shown) {
    m_list->setVisible(shown);
}
