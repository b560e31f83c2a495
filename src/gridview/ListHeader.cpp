#include "gridview/List.h"

#include "gridview/GridColours.h"
#include "gridview/GridGeometry.h"
#include "gridview/PixelLines.h"
#include "gridview/RetainedSurface.h"
#include "gridview/lblTxt.h"
#include "platform/WindowsColor.h"

#include <QLabel>
#include <QPainter>

using namespace GridGeometry;

void List::BuildHeader() {
    if (!m_started) {
        return;
    }
    const std::vector<int> widths = columnWidths();
    const std::vector<int> lefts = GridGeometry::columnLefts(widths);
    const int n = std::min<int>(m_table.ColumnCount(), m_s.Stolpec.size() - 1);
    for (int j = 1; j <= n; ++j) {
        if (j >= m_s.lblHeader.size()) {
            auto* label = new QLabel(m_s.picHeader);
            label->setObjectName(QStringLiteral("lblHeader%1").arg(j));
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
            label->setFont(m_cellFont);
            label->setAutoFillBackground(true);
            QPalette p = label->palette();
            p.setColor(QPalette::Window, colorFromWindows(GridColours::HeaderLabelBack));
            p.setColor(QPalette::WindowText, colorFromWindows(GridColours::HeaderLabelText));
            label->setPalette(p);
            m_s.lblHeader.append(label);
        }
        QLabel* label = m_s.lblHeader[j];
        const auto k = static_cast<std::size_t>(j - 1);
        label->setGeometry(lefts[k] + 3, 2, std::max(0, widths[k] - 6), RowPixels);
        label->setText(m_table.GetColumnHeader(j));
        label->show();
    }

    m_s.picHeader->resize(m_s.picOzadje->width(), HeaderHeight - 1);
    m_s.picHeader->clear();
    {
        QPainter p(&m_s.picHeader->canvas());
        const QColor border = colorFromWindows(HeaderBorderColor);
        const int h = m_s.picHeader->height();
        for (int j = 1; j <= n; ++j) {
            const auto k = static_cast<std::size_t>(j - 1);
            PixelLines::vertical(p, lefts[k] + widths[k], 0, h, border);
        }
    }
    m_s.picHeader->update();
}

void List::hover(int x, int y) {
    if (x <= m_strip || y > HeaderHeight + contentHeight()) {
        setPointer(Qt::ArrowCursor);
        return;
    }
    const std::vector<int> widths = columnWidths();
    const bool onBoundary = boundaryAt(x, m_left, GridGeometry::columnLefts(widths), widths) > 0;
    setPointer(onBoundary && x <= m_s.PicScrV->x() ? Qt::SizeHorCursor : Qt::ArrowCursor);
}

bool List::startSplitterDrag(int x, int y) {
    if (y > HeaderHeight + contentHeight()) {
        return false;
    }
    const std::vector<int> widths = columnWidths();
    const std::vector<int> lefts = GridGeometry::columnLefts(widths);
    const int j = boundaryAt(x, m_left, lefts, widths);
    if (j == 0) {
        return false;
    }
    const auto k = static_cast<std::size_t>(j - 1);
    const int boundary = m_left + lefts[k] + widths[k];
    QWidget* splitter = ensureSplitter();
    splitter->setProperty("Tag", QString::number(j));
    splitter->setGeometry(boundary - 1, HeaderHeight, 2, areaHeight());
    splitter->show();
    MouseX = x - splitter->x();
    return true;
}

bool List::splitterShown() const {
    return m_s.PicSpl && m_s.PicSpl->isVisible();
}

void List::dragSplitter(int x) {
    const int j = m_s.PicSpl->property("Tag").toString().toInt();
    const std::vector<int> lefts = columnLefts();
    if (j < 1 || j > static_cast<int>(lefts.size())) {
        return;
    }
    const int wanted = x - MouseX;
    m_s.PicSpl->move(splitterLeft(wanted, lefts[static_cast<std::size_t>(j - 1)], m_left),
                     HeaderHeight);
}

void List::endSplitterDrag() {
    const int j = m_s.PicSpl->property("Tag").toString().toInt();
    const std::vector<int> lefts = columnLefts();
    m_s.PicSpl->hide();
    if (j < 1 || j > static_cast<int>(lefts.size())) {
        return;
    }
    const int width =
        splitterWidth(m_s.PicSpl->x(), lefts[static_cast<std::size_t>(j - 1)], m_left);
    m_table.LetWidthColumn(j, width);
    if (editorRowShown()) {
        SelectItem(m_table.iSelected(), 1, m_table.iSelectedColumn());
    }
}
