#include "gridview/List.h"

#include "gridview/ArrowIcons.h"
#include "gridview/GridColours.h"
#include "gridview/GridGeometry.h"
#include "gridview/PanelColour.h"
#include "gridview/RetainedSurface.h"
#include "gridview/cmdButton.h"

#include <QLabel>
#include <QTimer>

using namespace GridGeometry;

cmdButton* ListSurfaces::arrow(int k) const {
    switch (k) {
    case 0:
        return btnGor;
    case 1:
        return btnDol;
    case 2:
        return btnLevo;
    default:
        return btnDesno;
    }
}

namespace {

QWidget* panel(const QString& name, QWidget* parent) {
    auto* w = new QWidget(parent);
    w->setObjectName(name);
    w->setAutoFillBackground(true);
    return w;
}

// A panel gets its colour before anything is placed on it: colouring it later hands the
// palette down to every child again.
QWidget* panel(const QString& name, QWidget* parent, qint32 colour) {
    QWidget* w = panel(name, parent);
    setPanelColour(w, colour);
    return w;
}

cmdButton* button(const QString& name, QWidget* parent) {
    auto* b = new cmdButton(name, parent);
    b->setCaption(QString());
    b->resize(ScrollSize, ScrollSize);
    return b;
}

} // namespace

void List::buildSurfaces() {
    // Back to front: the cell background lies under the editors, which lie under the strips
    // and bars, so an editor row scrolled out of the cell area disappears behind them.
    m_s.picOzadje = panel(QStringLiteral("picOzadje"), this, BorderColor);
    m_s.picOzadje->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_s.Stolpec.append(nullptr);
    m_s.StolpecHide =
        panel(QStringLiteral("StolpecHide"), m_s.picOzadje, GridColours::ControlBackground);
    m_s.StolpecHide->hide();

    m_s.picCnt = panel(QStringLiteral("picCnt"), this);
    m_s.picCnt->installEventFilter(this);
    m_s.picCnt->setMouseTracking(true);
    m_s.Cnt = new RetainedSurface(QStringLiteral("Cnt"), m_s.picCnt);
    m_s.Cnt->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_s.picTop = new RetainedSurface(QStringLiteral("picTop"), this);
    m_s.picTop->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_s.picHeader = new RetainedSurface(QStringLiteral("picHeader"), m_s.picTop);
    m_s.picHeader->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_s.lblHeader.append(nullptr);
    m_s.picTopL = new RetainedSurface(QStringLiteral("picTopL"), m_s.picTop);
    m_s.PicTopD = new RetainedSurface(QStringLiteral("PicTopD"), m_s.picTop);

    m_s.PicScrV = panel(QStringLiteral("PicScrV"), this, ScrollBackColor);
    m_s.PicScrV->setFocusPolicy(Qt::ClickFocus);
    m_s.PicScrV->setMouseTracking(true);
    m_s.PicScrV->installEventFilter(this);
    m_s.btnGor = button(QStringLiteral("btnGor"), m_s.PicScrV);
    m_s.btnDol = button(QStringLiteral("btnDol"), m_s.PicScrV);
    m_s.DrsnikV = button(QStringLiteral("DrsnikV"), m_s.PicScrV);

    m_s.PicScrH = panel(QStringLiteral("PicScrH"), this, ScrollBackColor);
    m_s.PicScrH->setMouseTracking(true);
    m_s.PicScrH->installEventFilter(this);
    m_s.shpDolLevo = new RetainedSurface(QStringLiteral("shpDolLevo"), m_s.PicScrH);
    m_s.btnLevo = button(QStringLiteral("btnLevo"), m_s.PicScrH);
    m_s.btnDesno = button(QStringLiteral("btnDesno"), m_s.PicScrH);
    // The thumbs only show the raised look; presses on them reach the track underneath.
    m_s.DrsnikV->setButtonEnabled(false);
    m_s.DrsnikV->hide();

    m_s.PicKot = panel(QStringLiteral("PicKot"), this, ScrollForeColor);
    m_s.PicKot->setMouseTracking(true);
    m_s.PicKot->installEventFilter(this);

    // The icon store the arrows take their pictures from.
    for (int k = 0; k < 8; ++k) {
        m_ico[k] = ArrowIcons::icon(k);
    }
    for (int k = 0; k < 4; ++k) {
        cmdButton* b = m_s.arrow(k);
        b->setPicture(m_ico[k], ArrowIcons::PictureAt);
        connect(b, &cmdButton::MouseDown, this, [this, k] { arrowPressed(k); });
        connect(b, &cmdButton::MouseUp, this, [this, k] { arrowReleased(k); });
        connect(b, &cmdButton::MouseMove, this, [this] { setPointer(Qt::ArrowCursor); });
        connect(b, &cmdButton::EnabledIsChanged, this, [this, k](bool on) {
            cmdButton* arrow = m_s.arrow(k);
            arrow->setPicture(m_ico[on ? k : k + 4], arrow->picturePosition());
        });
    }

    m_s.tmrScroll = new QTimer(this);
    m_s.tmrScroll->setObjectName(QStringLiteral("tmrScroll"));
    m_s.tmrScroll->setProperty("Tag", QString());
    connect(m_s.tmrScroll, &QTimer::timeout, this, &List::scrollTick);
}

QWidget* List::ensureSplitter() {
    if (m_s.PicSpl) {
        return m_s.PicSpl;
    }
    // Made for the first column resize. It lies above the cell area and the editor row, below
    // the strips and bars.
    m_s.PicSpl = panel(QStringLiteral("PicSpl"), this, GridColours::SplitterColour);
    m_s.PicSpl->setCursor(Qt::SizeHorCursor);
    m_s.PicSpl->installEventFilter(this);
    m_s.PicSpl->hide();
    m_s.PicSpl->stackUnder(m_s.picCnt);
    return m_s.PicSpl;
}

cmdButton* List::ensureHorizontalThumb() {
    if (m_s.DrsnikH) {
        return m_s.DrsnikH;
    }
    // Made when the content first grows wider than the grid; it lies over the arrows.
    m_s.DrsnikH = button(QStringLiteral("DrsnikH"), m_s.PicScrH);
    m_s.lejbelnadonjojskali = new QLabel(QStringLiteral("QeL 2005"), m_s.DrsnikH);
    m_s.lejbelnadonjojskali->setObjectName(QStringLiteral("lejbelnadonjojskali"));
    m_s.lejbelnadonjojskali->setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont sylfaen(QStringLiteral("Sylfaen"));
    sylfaen.setPixelSize(12);
    m_s.lejbelnadonjojskali->setFont(sylfaen);
    // Its text and font never change: laying the text out once serves every grid.
    static const QSize nameSize = m_s.lejbelnadonjojskali->sizeHint();
    m_s.lejbelnadonjojskali->setGeometry(QRect(QPoint(4, 0), nameSize));
    m_s.DrsnikH->setButtonEnabled(false);
    m_s.DrsnikH->hide();
    return m_s.DrsnikH;
}

void List::ensureRowMark() {
    if (m_s.PicEdit) {
        return;
    }
    // Made with the editor row: it lies over the cell area's number strip, above Cnt.
    m_s.PicEdit = panel(QStringLiteral("PicEdit"), m_s.picCnt, BorderColor);
    m_s.PicEdit->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_s.PicEdit->hide();
    m_s.lblEdit = new QLabel(m_s.PicEdit);
    m_s.lblEdit->setObjectName(QStringLiteral("lblEdit"));
    QPalette numbers = m_s.lblEdit->palette();
    numbers.setColor(QPalette::WindowText, m_numberColour);
    m_s.lblEdit->setPalette(numbers);
    m_s.lblEdit->setFont(m_cellFont);
}
