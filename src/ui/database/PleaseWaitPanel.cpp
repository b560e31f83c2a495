#include "ui/database/PleaseWaitPanel.h"

#include "ui/database/WindowLayout.h"

#include <QLabel>
#include <QProgressBar>

PleaseWaitPanel::PleaseWaitPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PleaseWait"));
    setGeometry(WindowLayout::toPixels(0, 360, 3495, 615));
    hide();
    m_caption = new QLabel(QStringLiteral("Exporting data into Microsoft Excel:"), this);
    m_caption->setObjectName(QStringLiteral("PleaseWaitCaption"));
    m_caption->setGeometry(WindowLayout::toPixels(120, 0, 3300, 255));
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("ProgressBar1"));
    m_bar->setGeometry(WindowLayout::toPixels(120, 270, 3255, 255));
    m_bar->setTextVisible(false);
}

void PleaseWaitPanel::setCaption(const QString& caption) {
    m_caption->setText(caption);
}
