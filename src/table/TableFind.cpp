#include "table/Table.h"

#include "table/JournalRecords.h"
#include "table/JournalTags.h"
#include "table/RowBlock.h"
#include "table/TextMatcher.h"

std::optional<FindHit> Table::findMatch(const QString& Text, bool ExactMatch, bool hostExactTicked,
                                        const QString& hostSearchText) const {
    if (Text.isEmpty()) {
        return std::nullopt;
    }
    const TextMatcher matcher(Text, ExactMatch);
    const qsizetype length = Text.size();
    const int rows = ListCount();
    const int columns = ColumnCount();
    const int start = m_iSelected >= rows ? 1 : std::max(m_iSelected + 1, 1);

    auto scan = [&](int first, int last) -> std::optional<FindHit> {
        for (int r = first; r <= last; ++r) {
            const RowBlock* block = m_rows.block(r);
            if (!block) {
                continue;
            }
            const int stored = std::min(block->slotCount(), columns);
            for (int c = 1; c <= stored; ++c) {
                const QStringView text = block->text(c);
                if (text.size() < length) {
                    continue;
                }
                const qsizetype at = matcher.indexIn(text);
                if (at < 0) {
                    continue;
                }
                // A substring match is refused while the host's "Exact Match" box is ticked
                // and the cell is not the host's search text as a whole; a whole-cell match
                // always counts.
                if (text.size() > length && hostExactTicked && text != hostSearchText) {
                    continue;
                }
                return FindHit{r, c, int(at) + 1};
            }
        }
        return std::nullopt;
    };

    if (auto hit = scan(start, rows)) {
        return hit;
    }
    if (start >= 2) {
        return scan(1, start - 1);
    }
    return std::nullopt;
}

int Table::replaceInCell(int row, int column, const TextMatcher& matcher, const QString& NewText,
                         bool All) {
    const QStringView current = m_rows.cell(row, column).Text;
    const qsizetype length = matcher.needleLength();
    qsizetype at = matcher.indexIn(current);
    if (at < 0) {
        return 0;
    }
    if (current.size() == length) {
        recordEdit(JournalRecords::taggedText(JournalTags::SetText, {row, column}, current));
        m_rows.setText(row, column, NewText);
        return 1;
    }
    QString text = current.toString();
    int replaced = 0;
    while (at >= 0) {
        recordEdit(JournalRecords::taggedText(JournalTags::SetText, {row, column}, text));
        text.replace(at, length, NewText);
        ++replaced;
        if (!All) {
            break;
        }
        // Going on after the inserted text replaces every occurrence that does not overlap
        // another and never looks at what was inserted.
        at = matcher.indexIn(text, at + NewText.size());
    }
    m_rows.setText(row, column, text);
    return replaced;
}

bool Table::FindAndReplaceText(const QString& SrcText, const QString& NewText, bool All,
                               bool ExactMatch) {
    // An empty search text would match between every two characters without end; it
    // matches nothing instead.
    if (SrcText.isEmpty()) {
        render(-1);
        return false;
    }
    const TextMatcher matcher(SrcText, ExactMatch);
    const int rows = ListCount();
    const int columns = ColumnCount();
    const int start = (m_iSelected < 1 || m_iSelected >= rows) ? 1 : m_iSelected;
    int replaced = 0;

    auto pass = [&](int first, int last) {
        for (int r = first; r <= last; ++r) {
            for (int c = 1; c <= columns; ++c) {
                replaced += replaceInCell(r, c, matcher, NewText, All);
                if (replaced && !All) {
                    return;
                }
            }
        }
    };

    pass(start, rows);
    if (All || (!replaced && start >= 2)) {
        pass(1, start - 1);
    }
    if (replaced > 0) {
        changed();
    }
    render(-1);
    return replaced > 0;
}
