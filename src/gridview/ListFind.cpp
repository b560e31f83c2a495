#include "gridview/List.h"

#include "gridview/GridGeometry.h"
#include "gridview/ListHost.h"
#include "gridview/lblTxt.h"

#include <QApplication>

using namespace GridGeometry;

bool List::FindText(const QString& Text, bool ExactMatch) {
    const std::optional<FindHit> hit =
        m_table.findMatch(Text, ExactMatch, m_host->exactMatchTicked(), m_host->searchText());
    if (!hit) {
        return false;
    }

    if (const std::optional<int> offset = topOffsetToShowRow(areaHeight(), m_topOffset, hit->row)) {
        m_topOffset = *offset;
        RenderColumn(-1);
        SetScrollers();
    }
    const std::vector<int> widths = columnWidths();
    const auto k = static_cast<std::size_t>(hit->column - 1);
    if (const std::optional<int> L = leftToShowColumn(
            width(), m_strip, m_left, GridGeometry::columnLefts(widths)[k], widths[k])) {
        moveContentTo(*L);
        SetScrollers();
    }

    SelectItem(hit->row, 1, hit->column);
    update();

    lblTxt* editor = m_s.editors[hit->column];
    editor->setDisableSelectAll(true);
    editor->SelectText(hit->position - 1, static_cast<int>(Text.size()));
    // The flag is meant for the focus that SelectItem asked for; when that focus has already
    // arrived, the next one must select all again.
    if (editor->hasFocus() || editor->isAncestorOf(QApplication::focusWidget())) {
        editor->setDisableSelectAll(false);
    }
    return true;
}
