#include "ui/database/FindPanel.h"

#include "ui/database/WindowLayout.h"
#include "ui/dialogs/ClickableLabel.h"

#include <QCheckBox>
#include <QLineEdit>

#include <algorithm>

FindPanel::FindPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Find"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(209, 167, 120));
    setPalette(palette);
    // The panel's controls are laid out for a small sans serif of 10 pixels.
    QFont small(QStringLiteral("Arial"));
    small.setPixelSize(10);
    setFont(small);
    // Wide enough for the Replace label, which reaches past the 3300 twips first laid out.
    resize(WindowLayout::toPixels(3375), WindowLayout::toPixels(615));

    m_exactMatch = new QCheckBox(QStringLiteral("Exact Match"), this);
    m_exactMatch->setObjectName(QStringLiteral("ExactMatch"));
    m_exactMatch->setGeometry(WindowLayout::toPixels(0, 120, 1080, 255));

    m_toFind = new QLineEdit(this);
    m_toFind->setObjectName(QStringLiteral("txttoFind"));
    m_toFind->setToolTip(QStringLiteral("text to Find"));
    m_toFind->setGeometry(WindowLayout::toPixels(1080, 120, 1550, 225));

    auto* find = new ClickableLabel(QStringLiteral("Find"), this);
    find->setObjectName(QStringLiteral("FindInList"));
    find->setToolTip(QStringLiteral("Find the text"));
    find->setGeometry(WindowLayout::toPixels(2640, 120, 735, 255));
    connect(find, &ClickableLabel::clicked, this, &FindPanel::findClicked);

    m_replaceAll = new QCheckBox(QStringLiteral("Replace all"), this);
    m_replaceAll->setObjectName(QStringLiteral("ReplaceAll"));
    m_replaceAll->setGeometry(WindowLayout::toPixels(0, 360, 975, 220));

    m_toReplace = new QLineEdit(this);
    m_toReplace->setObjectName(QStringLiteral("txttoReplace"));
    m_toReplace->setToolTip(QStringLiteral("Text to Replace"));
    m_toReplace->setGeometry(WindowLayout::toPixels(1080, 360, 1550, 240));

    auto* replace = new ClickableLabel(QStringLiteral("Replace"), this);
    replace->setObjectName(QStringLiteral("ReplaceInList"));
    replace->setToolTip(QStringLiteral("Find and Replace "));
    replace->setGeometry(WindowLayout::toPixels(2640, 360, 735, 255));
    connect(replace, &ClickableLabel::clicked, this, &FindPanel::replaceClicked);

    // The check boxes keep their captions whole in this system's fonts: the text boxes start
    // after the wider of them, and end where they were laid out to.
    const int boxLeft = std::max({m_toFind->x(), m_exactMatch->sizeHint().width() + 2,
                                  m_replaceAll->sizeHint().width() + 2});
    for (QLineEdit* box : {m_toFind, m_toReplace}) {
        box->setGeometry(boxLeft, box->y(), box->x() + box->width() - boxLeft, box->height());
    }
    m_exactMatch->resize(boxLeft, m_exactMatch->height());
    m_replaceAll->resize(boxLeft, m_replaceAll->height());

    auto* close = new ClickableLabel(QStringLiteral("X"), this);
    close->setObjectName(QStringLiteral("Label1"));
    close->setToolTip(QStringLiteral("Close Find Menu"));
    close->setGeometry(WindowLayout::toPixels(3120, 0, 255, 255));
    connect(close, &ClickableLabel::clicked, this, &FindPanel::closeClicked);
}

QString FindPanel::searchText() const {
    return m_toFind->text();
}

QString FindPanel::replacementText() const {
    return m_toReplace->text();
}

bool FindPanel::exactMatch() const {
    return m_exactMatch->isChecked();
}

bool FindPanel::replaceAll() const {
    return m_replaceAll->isChecked();
}

void FindPanel::focusSearch() {
    m_toFind->setFocus(Qt::OtherFocusReason);
}
