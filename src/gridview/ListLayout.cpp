#include "gridview/List.h"

#include "gridview/GridColours.h"
#include "gridview/GridGeometry.h"
#include "gridview/PixelLines.h"
#include "gridview/RetainedSurface.h"
#include "gridview/cmdButton.h"
#include "gridview/lblTxt.h"
#include "platform/WindowsColor.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QResizeEvent>

using namespace GridGeometry;

int List::areaHeight() const {
    return cellAreaHeight(height());
}
int List::contentHeight() const {
    return GridGeometry::contentHeight(m_table.ListCount());
}
int List::contentWidth() const {
    return GridGeometry::contentWidth(columnWidths());
}

std::vector<int> List::columnWidths() const {
    std::vector<int> widths(static_cast<std::size_t>(m_table.ColumnCount()));
    for (int i = 1; i <= m_table.ColumnCount(); ++i) {
        widths[static_cast<std::size_t>(i - 1)] = m_table.GetWidthColumn(i);
    }
    return widths;
}

std::vector<int> List::columnLefts() const {
    return GridGeometry::columnLefts(columnWidths());
}

void List::moveContentTo(int L) {
    m_left = L;
    m_s.picOzadje->move(L, HeaderHeight);
    m_s.picHeader->move(L, 0);
    const std::vector<int> lefts = columnLefts();
    for (int i = 1; i < m_s.editors.size() && i <= static_cast<int>(lefts.size()); ++i) {
        m_s.editors[i]->move(L + lefts[static_cast<std::size_t>(i - 1)], m_s.editors[i]->y());
    }
}

void List::applyHorizontalClamp() {
    const int L = clampLeft(width(), m_strip, contentWidth(), m_left);
    if (L != m_left) {
        moveContentTo(L);
    }
}

void List::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Grabbing a hidden grid delivers its pending size twice; a size already laid out and
    // drawn is not laid out and drawn again.
    if (m_started && event->size() == m_laidOutSize) {
        return;
    }
    const int W = width();
    const int H = height();
    const int V = areaHeight();
    m_s.picTop->setGeometry(0, 0, W, HeaderHeight);
    m_s.PicScrH->setGeometry(0, H - ScrollSize, W, ScrollSize);
    m_s.picCnt->setGeometry(0, HeaderHeight, m_strip, V);
    m_s.PicScrV->setGeometry(W - ScrollSize, HeaderHeight, ScrollSize, V);

    m_s.btnDol->move(0, H - HeaderHeight - 2 * ScrollSize);
    m_s.btnDesno->move(W - 2 * ScrollSize, 0);
    m_s.PicKot->move(W - ScrollSize, H - ScrollSize);
    m_s.PicTopD->setGeometry(m_s.PicKot->x() - 1, 0, ScrollSize + 1, HeaderHeight);

    m_s.picOzadje->setGeometry(m_left, HeaderHeight, m_s.picOzadje->width(), V);
    drawCornerLines();

    m_topOffset = clampTopOffset(V, contentHeight(), m_topOffset);
    applyHorizontalClamp();
    if (m_s.PicSpl && m_s.PicSpl->height() != V) {
        m_s.PicSpl->resize(m_s.PicSpl->width(), V);
    }
    if (!m_started) {
        return;
    }
    m_laidOutSize = event->size();
    RenderColumn(-1);
    if (m_table.iSelected() > 0) {
        SelectItem(m_table.iSelected(), 1, m_table.iSelectedColumn());
    }
    SetScrollers();
}

void List::drawCornerLines() {
    const QColor line = colorFromWindows(HeaderBorderColor);
    auto draw = [&line](RetainedSurface* s, auto&& lines) {
        s->clear();
        QPainter p(&s->canvas());
        lines(p, s->width(), s->height());
        s->update();
    };
    using PixelLines::horizontal;
    using PixelLines::vertical;
    draw(m_s.picTop, [&](QPainter& p, int w, int) { horizontal(p, 0, w, 19, line); });
    draw(m_s.shpDolLevo, [&](QPainter& p, int w, int h) {
        horizontal(p, 0, w, 0, line);
        vertical(p, w - 1, 0, h, line);
    });
    draw(m_s.picTopL, [&](QPainter& p, int w, int h) {
        horizontal(p, 0, w, 19, line);
        vertical(p, w - 1, 0, h, line);
    });
    draw(m_s.PicTopD, [&](QPainter& p, int w, int h) {
        horizontal(p, 0, w, 19, line);
        vertical(p, 0, 0, h, line);
    });
}

void List::FitNumberColumn() {
    const int s = m_left - m_strip;
    const int underscore = QFontMetrics(m_cellFont).horizontalAdvance(QLatin1Char('_'));
    const int wanted = GridGeometry::numberStripWidth(underscore, m_table.ListCount());
    if (wanted == m_strip) {
        return;
    }
    m_strip = wanted;
    m_s.picCnt->setGeometry(0, HeaderHeight, m_strip, areaHeight());
    moveContentTo(wanted + s);
    applyHorizontalClamp();
    m_s.shpDolLevo->setGeometry(0, 0, wanted, ScrollSize);
    m_s.btnLevo->move(wanted, 0);
    m_s.picTopL->setGeometry(0, 0, wanted, HeaderHeight);
    drawCornerLines();
    SetScrollers();
}

void List::LayoutColumns() {
    const int n = m_table.ColumnCount();
    // Surfaces follow the column count: new ones start with the control background.
    while (m_s.Stolpec.size() - 1 < n) {
        const int i = static_cast<int>(m_s.Stolpec.size());
        auto* s = new RetainedSurface(QStringLiteral("Stolpec%1").arg(i), m_s.picOzadje);
        s->setAttribute(Qt::WA_TransparentForMouseEvents);
        s->setBackground(m_controlBackground);
        s->show();
        m_s.Stolpec.append(s);
    }
    while (m_s.Stolpec.size() - 1 > n) {
        delete m_s.Stolpec.takeLast();
    }
    while (m_s.lblHeader.size() - 1 > n) {
        delete m_s.lblHeader.takeLast();
    }
    // The editor row is made when a row is first selected; once made it follows the columns.
    if (m_s.editors.size() > 1) {
        ensureEditors();
    }

    const std::vector<int> widths = columnWidths();
    const std::vector<int> lefts = GridGeometry::columnLefts(widths);
    for (int i = 1; i <= n; ++i) {
        RetainedSurface* s = m_s.Stolpec[i];
        s->setGeometry(lefts[static_cast<std::size_t>(i - 1)], s->y(),
                       widths[static_cast<std::size_t>(i - 1)], s->height());
    }
    const int content = GridGeometry::contentWidth(widths);
    m_s.picOzadje->resize(content, areaHeight());
    m_s.StolpecHide->resize(content, m_s.StolpecHide->height());
    m_s.StolpecHide->raise();
    applyHorizontalClamp();
    SetScrollers();
}

void List::ClampTopOffsetAfterRemove() {
    m_topOffset = clampTopOffset(areaHeight(), contentHeight(), m_topOffset);
}

void List::ResetTopOffset() {
    m_topOffset = 0;
}

void List::ScrollFullyLeft() {
    moveContentTo(m_strip);
}

void List::placeEditorsVertically() {
    const int y = HeaderHeight + (m_table.iSelected() - 1) * RowPixels + m_topOffset + 1;
    for (int i = 1; i < m_s.editors.size(); ++i) {
        if (m_s.editors[i]->y() != y) {
            m_s.editors[i]->move(m_s.editors[i]->x(), y);
        }
    }
    if (m_s.PicEdit) {
        m_s.PicEdit->move(0, y - HeaderHeight - 1);
    }
}
