#include "gridview/List.h"

#include "gridview/GridColours.h"
#include "gridview/GridGeometry.h"
#include "gridview/PixelLines.h"
#include "gridview/RetainedSurface.h"
#include "gridview/lblTxt.h"
#include "platform/WindowsColor.h"

#include <QFontMetrics>
#include <QPainter>

using namespace GridGeometry;

void List::RenderColumn(int Stol) {
    if (DoNotRender() || !m_started) {
        return;
    }
    if (Stol == -1) {
        const int n = std::min<int>(m_table.ColumnCount(), m_s.Stolpec.size() - 1);
        for (int c = 1; c <= n; ++c) {
            renderColumnSurface(c);
            showCellInEditor(c);
        }
        renderNumberStrip();
    } else if (Stol == -2) {
        renderNumberStrip();
    } else if (Stol >= 1 && Stol <= m_table.ColumnCount() && Stol < m_s.Stolpec.size()) {
        renderColumnSurface(Stol);
        showCellInEditor(Stol);
    }
}

void List::showCellInEditor(int column) {
    const int row = m_table.iSelected();
    if (!editorRowShown() || column >= m_s.editors.size() || row < 1 || row > m_table.ListCount()) {
        return;
    }
    // A cell changed by the host, an undo or a replace shows its new content in the editor
    // row; while the user types, the editor already holds what the cell does.
    const CellRef cell = m_table.cellAt(row, column);
    lblTxt* editor = m_s.editors[column];
    if (editor->Text() != cell.Text) {
        editor->setText(cell.Text.toString());
    }
    editor->setForeColor(cell.Color);
    editor->setBold(cell.Bold);
    editor->setItallic(cell.Itallic);
    editor->setUnderlined(cell.Underlined);
}

void List::renderColumnSurface(int column) {
    const int V = areaHeight();
    const RowRange range = visibleRows(m_topOffset, V, m_table.ListCount());
    RetainedSurface* surface = m_s.Stolpec[column];
    surface->setGeometry(surface->x(), range.surfaceTop, surface->width(),
                         std::max(1, range.surfaceHeight));
    surface->clear();
    {
        QPainter painter(&surface->canvas());
        QFont font = m_cellFont;
        painter.setFont(font);
        const int ascent = QFontMetrics(font).ascent();
        bool bold = false;
        bool italic = false;
        bool underline = false;
        for (int r = range.first; r <= range.last; ++r) {
            const CellRef cell = m_table.cellAt(r, column);
            if (cell.Text.isEmpty()) {
                continue;
            }
            if (cell.Bold != bold || cell.Itallic != italic || cell.Underlined != underline) {
                bold = cell.Bold;
                italic = cell.Itallic;
                underline = cell.Underlined;
                font.setBold(bold);
                font.setItalic(italic);
                font.setUnderline(underline);
                painter.setFont(font);
            }
            painter.setPen(colorFromWindows(cell.Color));
            const QString text = QString::fromRawData(cell.Text.data(), cell.Text.size());
            painter.drawText(0, (r - range.first) * RowPixels + ascent, text);
        }
        const QColor border = colorFromWindows(BorderColor);
        const int w = surface->width();
        for (int r = range.first; r <= range.last; ++r) {
            PixelLines::horizontal(painter, 0, w, (r - range.first + 1) * RowPixels, border);
        }
    }
    surface->update();

    const int C = contentHeight();
    if (V > C) {
        const int top = C + 1;
        m_s.StolpecHide->setGeometry(0, top, m_s.picOzadje->width(), V - top);
        m_s.StolpecHide->raise();
        m_s.StolpecHide->show();
    } else {
        m_s.StolpecHide->hide();
    }
}

void List::renderNumberStrip() {
    const RowRange range = visibleRows(m_topOffset, areaHeight(), m_table.ListCount());
    RetainedSurface* cnt = m_s.Cnt;
    cnt->setGeometry(0, range.surfaceTop, cnt->width(), std::max(1, range.surfaceHeight));
    cnt->clear();
    {
        QPainter painter(&cnt->canvas());
        painter.setFont(m_cellFont);
        painter.setPen(m_numberColour);
        const int ascent = QFontMetrics(m_cellFont).ascent();
        for (int r = range.first; r <= range.last; ++r) {
            painter.drawText(0, (r - range.first) * RowPixels + ascent, QString::number(r));
        }
        PixelLines::vertical(painter, cnt->width() - 1, 0, cnt->height(),
                             colorFromWindows(BorderColor));
    }
    cnt->update();
}
