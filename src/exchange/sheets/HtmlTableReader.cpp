#include "exchange/sheets/HtmlTableReader.h"

#include "exchange/sheets/ByteReader.h"
#include "exchange/sheets/HtmlEntities.h"
#include "exchange/sheets/SheetCells.h"
#include "text/TextEncoding.h"

#include <QIODevice>

#include <cstring>

namespace {

constexpr qsizetype kMaxTextBytes = 4 * qsizetype(SheetCells::MaxTextLength);
constexpr qsizetype kMaxNameLength = 16;
constexpr qsizetype kMaxAttributeValue = 64;
constexpr int kMaxColumnSpan = 1000; // as browsers clamp it
constexpr int kMaxRowSpan = 65534;

bool isSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

int lower(int c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

int spanValue(const QByteArray& value, int limit) {
    bool ok = false;
    const int n = value.trimmed().toInt(&ok);
    return ok && n >= 1 ? qMin(n, limit) : 1;
}

} // namespace

struct HtmlTableReader::Tag {
    QByteArray name; // lower case
    bool closing = false;
    int columnSpan = 1;
    int rowSpan = 1;
};

HtmlTableReader::HtmlTableReader(std::unique_ptr<QIODevice> device)
    : m_device(std::move(device)), m_input(std::make_unique<ByteReader>(*m_device)) {
    if (m_input->lookAhead(3) == QByteArrayView("\xEF\xBB\xBF")) {
        m_input->skip(3);
    }
}

HtmlTableReader::~HtmlTableReader() = default;

void HtmlTableReader::skipPast(const char* terminator) {
    const size_t length = std::strlen(terminator);
    size_t matched = 0;
    for (int c = m_input->get(); c != ByteReader::EndOfInput; c = m_input->get()) {
        if (c == terminator[matched]) {
            if (++matched == length) {
                return;
            }
        } else {
            matched = (c == terminator[0]) ? 1 : 0;
        }
    }
}

void HtmlTableReader::skipRawText(const QByteArray& name) {
    // Script and style bodies end only at their own end tag, whatever they hold.
    for (int c = m_input->get(); c != ByteReader::EndOfInput; c = m_input->get()) {
        if (c != '<' || m_input->peek() != '/') {
            continue;
        }
        const QByteArrayView ahead = m_input->lookAhead(1 + name.size() + 1);
        if (ahead.size() < 1 + name.size()) {
            continue;
        }
        bool same = true;
        for (qsizetype i = 0; i < name.size() && same; ++i) {
            same = lower(quint8(ahead[1 + i])) == quint8(name[i]);
        }
        const int after = ahead.size() > 1 + name.size() ? quint8(ahead[1 + name.size()]) : '>';
        if (same && (after == '>' || isSpace(after) || after == '/')) {
            skipPast(">");
            return;
        }
    }
}

bool HtmlTableReader::readTag(Tag& tag) {
    // Called after '<'. False when what follows is no tag; then '<' was plain text.
    tag = Tag();
    int c = m_input->peek();
    if (c == '!') {
        m_input->get();
        if (m_input->lookAhead(2) == QByteArrayView("--")) {
            m_input->skip(2);
            skipPast("-->");
        } else {
            skipPast(">");
        }
        return true;
    }
    if (c == '?') {
        skipPast(">");
        return true;
    }
    if (c == '/') {
        m_input->get();
        tag.closing = true;
        c = m_input->peek();
    }
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) {
        if (tag.closing) {
            skipPast(">"); // "</ >" and the like are dropped, as browsers do
            return true;
        }
        return false;
    }
    while ((c = m_input->peek()) != ByteReader::EndOfInput && !isSpace(c) && c != '>' && c != '/') {
        m_input->get();
        if (tag.name.size() < kMaxNameLength) {
            tag.name.append(char(lower(c)));
        }
    }
    // Attributes: only the spans of cells matter.
    QByteArray attribute;
    QByteArray value;
    for (;;) {
        c = m_input->get();
        if (c == ByteReader::EndOfInput || c == '>') {
            return true;
        }
        if (isSpace(c) || c == '/') {
            continue;
        }
        attribute.clear();
        value.clear();
        while (c != ByteReader::EndOfInput && !isSpace(c) && c != '>' && c != '=' && c != '/') {
            if (attribute.size() < kMaxNameLength) {
                attribute.append(char(lower(c)));
            }
            c = m_input->get();
        }
        while (isSpace(c)) {
            c = m_input->get();
        }
        if (c == '=') {
            c = m_input->get();
            while (isSpace(c)) {
                c = m_input->get();
            }
            if (c == '"' || c == '\'') {
                const int quote = c;
                for (c = m_input->get(); c != ByteReader::EndOfInput && c != quote;
                     c = m_input->get()) {
                    if (value.size() < kMaxAttributeValue) {
                        value.append(char(c));
                    }
                }
                c = m_input->get();
            } else {
                while (c != ByteReader::EndOfInput && !isSpace(c) && c != '>') {
                    if (value.size() < kMaxAttributeValue) {
                        value.append(char(c));
                    }
                    c = m_input->get();
                }
            }
        }
        if (attribute == "colspan") {
            tag.columnSpan = spanValue(value, kMaxColumnSpan);
        } else if (attribute == "rowspan") {
            tag.rowSpan = spanValue(value, kMaxRowSpan);
        }
        if (c == '>' || c == ByteReader::EndOfInput) {
            return true;
        }
    }
}

void HtmlTableReader::startRow() {
    m_rowOpen = true;
    ++m_row;
    m_column = 1;
}

void HtmlTableReader::startCell(const Tag& tag) {
    int column = m_column;
    while (column <= ExcelAddress::MaxColumns && m_coveredThrough[size_t(column - 1)] >= m_row) {
        ++column;
    }
    m_cellOpen = true;
    m_cellColumn = column;
    m_cellColumnSpan = tag.columnSpan;
    m_cellRowSpan = tag.rowSpan;
    m_text.clear();
    m_pendingSpace = false;
}

void HtmlTableReader::endCell(SheetCells& cells) {
    if (!m_cellOpen) {
        return;
    }
    m_cellOpen = false;
    if (m_cellColumn <= ExcelAddress::MaxColumns && !m_text.isEmpty()) {
        cells.set(m_row, m_cellColumn,
                  HtmlEntities::decode(TextEncoding::decodeUtf8OrWindows1250(m_text)));
    }
    const int last = qMin(ExcelAddress::MaxColumns, m_cellColumn + m_cellColumnSpan - 1);
    for (int column = m_cellColumn; column <= last; ++column) {
        m_coveredThrough[size_t(column - 1)] = m_row + m_cellRowSpan - 1;
    }
    m_column = qMin(m_cellColumn + m_cellColumnSpan, ExcelAddress::MaxSheetColumns + 1);
}

void HtmlTableReader::appendText(int c) {
    // Runs of white space show as one space; none at the start or end of a cell.
    if (!m_cellOpen || m_cellColumn > ExcelAddress::MaxColumns || m_text.size() >= kMaxTextBytes) {
        return;
    }
    if (isSpace(c)) {
        m_pendingSpace = !m_text.isEmpty() && !m_text.endsWith('\n');
        return;
    }
    if (m_pendingSpace) {
        m_text.append(' ');
        m_pendingSpace = false;
    }
    m_text.append(char(c));
}

void HtmlTableReader::appendLineBreak() {
    if (m_cellOpen && m_cellColumn <= ExcelAddress::MaxColumns && m_text.size() < kMaxTextBytes) {
        m_text.append('\n');
        m_pendingSpace = false;
    }
}

int HtmlTableReader::readNextRow(SheetCells& cells) {
    if (m_done) {
        return 0;
    }
    if (m_rowPending) {
        m_rowPending = false;
        startRow();
    }
    Tag tag;
    for (;;) {
        const int c = m_input->get();
        if (c == ByteReader::EndOfInput) {
            m_done = true;
            endCell(cells);
            return m_rowOpen ? m_row : 0;
        }
        if (c != '<') {
            if (m_depth >= 1) {
                appendText(c);
            }
            continue;
        }
        if (!readTag(tag)) {
            appendText(c);
            continue;
        }
        if (tag.name == "script" || tag.name == "style") {
            if (!tag.closing) {
                skipRawText(tag.name);
            }
            continue;
        }
        if (tag.name == "table") {
            if (!tag.closing) {
                ++m_depth;
                continue;
            }
            if (m_depth > 1) {
                --m_depth;
                continue;
            }
            if (m_depth == 1) {
                // The end of the first table is the end of the sheet.
                m_done = true;
                endCell(cells);
                return m_rowOpen ? m_row : 0;
            }
            continue;
        }
        if (m_depth == 0) {
            continue;
        }
        if (tag.name == "br") {
            appendLineBreak();
            continue;
        }
        if (m_depth != 1) {
            // A nested table is text of the outer cell, its cells apart as a browser shows them.
            if (tag.name == "td" || tag.name == "th" || tag.name == "tr") {
                appendText(' ');
            }
            continue;
        }
        if (tag.name == "tr") {
            endCell(cells);
            if (tag.closing) {
                if (m_rowOpen) {
                    m_rowOpen = false;
                    return m_row;
                }
                continue;
            }
            if (m_row >= ExcelAddress::MaxSheetRows) {
                m_done = true;
                return m_rowOpen ? m_row : 0;
            }
            if (m_rowOpen) {
                m_rowPending = true;
                return m_row;
            }
            startRow();
            continue;
        }
        if (tag.name == "td" || tag.name == "th") {
            endCell(cells);
            if (!tag.closing) {
                if (!m_rowOpen) {
                    if (m_row >= ExcelAddress::MaxSheetRows) {
                        m_done = true;
                        return 0;
                    }
                    startRow(); // a cell without its row still opens one
                }
                startCell(tag);
            }
        }
    }
}
