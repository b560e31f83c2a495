#include "exchange/sheets/XlsxSharedStrings.h"

#include "exchange/sheets/SheetCells.h"
#include "exchange/sheets/XlsxEscapes.h"
#include "exchange/sheets/XlsxXmlScanner.h"

using Token = XlsxXmlScanner::Token;

namespace {
// Room for the longest cell text written entirely as "_xHHHH_" escapes, in characters and in
// the UTF-8 bytes that could hold them.
constexpr qsizetype kMaxRawText = 7 * qsizetype(SheetCells::MaxTextLength);
constexpr size_t kMaxRawBytes = 3 * size_t(kMaxRawText) + 4;
// One string item may take this many bytes of the part; past it the table ends there.
constexpr qint64 kItemBudget = 64 * 1024 * 1024;
// No workbook comes near this many distinct strings; a table claiming more is not followed
// further, so a part of empty items cannot make the index grow without bound.
constexpr qsizetype kMaxItems = 16 * 1024 * 1024;
} // namespace

XlsxSharedStrings::XlsxSharedStrings(std::unique_ptr<QIODevice> part, qsizetype maxHeldText)
    : m_maxHeldText(maxHeldText) {
    if (part) {
        m_xml = std::make_unique<XlsxXmlScanner>(std::move(part));
    } else {
        m_done = true;
    }
}

XlsxSharedStrings::~XlsxSharedStrings() = default;

bool XlsxSharedStrings::readStringItem(XlsxXmlScanner& xml, std::string& bytes, QString& text) {
    bytes.clear();
    int depth = 1;
    int textDepth = 0; // inside a <t> that counts
    int phoneticDepth = 0;
    while (depth > 0) {
        switch (xml.next(textDepth > 0 ? &bytes : nullptr, kMaxRawBytes)) {
        case Token::StartTag:
            ++depth;
            if (xml.name() == "rPh") {
                ++phoneticDepth;
            } else if (xml.name() == "t" && phoneticDepth == 0) {
                ++textDepth;
            }
            break;
        case Token::EndTag:
            --depth;
            if (xml.name() == "rPh") {
                phoneticDepth = qMax(0, phoneticDepth - 1);
            } else if (xml.name() == "t" && phoneticDepth == 0) {
                textDepth = qMax(0, textDepth - 1);
            }
            break;
        case Token::EmptyTag:
            break;
        case Token::Finished:
            return false;
        }
    }
    appendItemText(text, bytes);
    return true;
}

void XlsxSharedStrings::appendItemText(QString& text, std::string_view bytes) {
    const qsizetype start = text.size();
    if (bytes.size() <= size_t(SheetCells::MaxTextLength)) {
        // Most items are ASCII without escapes, and short: widened in place.
        text.resize(start + qsizetype(bytes.size()));
        char16_t* to = reinterpret_cast<char16_t*>(text.data()) + start;
        quint8 high = 0;
        quint8 underscores = 0;
        for (size_t i = 0; i < bytes.size(); ++i) {
            const quint8 byte = quint8(bytes[i]);
            high |= byte;
            underscores |= quint8(byte == '_');
            to[i] = byte;
        }
        if ((high & 0x80) == 0 && underscores == 0) {
            return;
        }
        text.truncate(start);
    }
    XlsxXmlScanner::appendUtf8(text, bytes.substr(0, kMaxRawBytes));
    if (text.size() - start > kMaxRawText) {
        text.truncate(start + kMaxRawText);
    }
    if (bytes.find('_') != std::string_view::npos) {
        const QString decoded = XlsxEscapes::decode(QStringView(text).sliced(start));
        text.truncate(start);
        text.append(decoded);
    }
    if (text.size() - start > SheetCells::MaxTextLength) {
        // Never leave half of a surrogate pair at the cut.
        qsizetype cut = start + SheetCells::MaxTextLength;
        if (text[cut - 1].isHighSurrogate()) {
            --cut;
        }
        text.truncate(cut);
    }
}

bool XlsxSharedStrings::readNext() {
    while (!m_done && qsizetype(m_ends.size()) < kMaxItems && m_text.size() < m_maxHeldText) {
        m_xml->setBudget(kItemBudget);
        // Most items are one plain <t>.
        if (const std::optional<std::string_view> item =
                m_xml->takeSimpleContent("<si><t>", "</t></si>")) {
            appendItemText(m_text, *item);
            m_ends.push_back(m_text.size());
            return true;
        }
        const Token token = m_xml->next();
        if (token == Token::Finished) {
            m_done = true;
            break;
        }
        if (token == Token::EndTag || m_xml->name() != "si") {
            continue;
        }
        if (token == Token::StartTag && !readStringItem(*m_xml, m_bytes, m_text)) {
            m_done = true;
            break;
        }
        m_ends.push_back(m_text.size());
        return true;
    }
    return false;
}

QStringView XlsxSharedStrings::at(qsizetype index) {
    if (index < 0) {
        return QStringView();
    }
    while (qsizetype(m_ends.size()) <= index && readNext()) {
    }
    if (qsizetype(m_ends.size()) <= index) {
        return QStringView();
    }
    const qsizetype start = index == 0 ? 0 : m_ends[size_t(index - 1)];
    return QStringView(m_text).sliced(start, m_ends[size_t(index)] - start);
}
