#include "ui/database/frmItems.h"

#include "gridview/List.h"
#include "ui/database/PleaseWaitPanel.h"

#include <QProgressBar>

// --- what the exchange commands see
// ---------------------------------------------------------------

void frmItems::showExchangeProgress(const QString& caption, int maximum, int value) {
    PleaseWaitPanel& panel = pleaseWait();
    panel.setCaption(caption);
    panel.bar().setMaximum(maximum);
    panel.bar().setValue(value);
    panel.show();
    panel.raise();
    panel.repaint();
}

void frmItems::hideExchangeProgress() {
    pleaseWait().hide();
}

void frmItems::showGrid(bool shown) {
    m_list->setVisible(shown);
}
