#include "exchange/sheets/XlsxSharedStrings.h"

#include "exchange/sheets/SheetCells.h"
#include "exchange/sheets/XlsxEscapes.h"
#include "exchange/sheets/ZipEntryDevice.h"

namespace {
// Room for the longest cell text written entirely as "_xHHHH_" escapes.
constexpr qsizetype kMaxRawText = 7 * qsizetype(SheetCells::MaxTextLength);
// One string item may take this many bytes of the part; past it the table ends there.
constexpr qint64 kItemBudget = 64 * 1024 * 1024;
// No workbook comes near this many distinct strings; a table claiming more is not followed
// further, so a part of empty items cannot make the index grow without bound.
constexpr qsizetype kMaxItems = 16 * 1024 * 1024;
} // namespace

XlsxSharedStrings::XlsxSharedStrings(std::unique_ptr<QIODevice> part, qsizetype maxHeldText)
    : m_part(std::move(part)), m_maxHeldText(maxHeldText) {
    if (m_part) {
        m_xml.setDevice(m_part.get());
    } else {
        m_done = true;
    }
}

XlsxSharedStrings::~XlsxSharedStrings() = default;

QString XlsxSharedStrings::readStringItem(QXmlStreamReader& xml) {
    QString raw;
    int depth = 1;
    int textDepth = 0; // inside a <t> that counts
    int phoneticDepth = 0;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            if (xml.name() == u"rPh") {
                ++phoneticDepth;
            } else if (xml.name() == u"t" && phoneticDepth == 0) {
                ++textDepth;
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            if (xml.name() == u"rPh") {
                phoneticDepth = qMax(0, phoneticDepth - 1);
            } else if (xml.name() == u"t" && phoneticDepth == 0) {
                textDepth = qMax(0, textDepth - 1);
            }
            break;
        case QXmlStreamReader::Characters:
            if (textDepth > 0 && raw.size() < kMaxRawText) {
                raw.append(xml.text().first(qMin(xml.text().size(), kMaxRawText - raw.size())));
            }
            break;
        default:
            break;
        }
    }
    QString text = XlsxEscapes::decode(raw);
    if (text.size() > SheetCells::MaxTextLength) {
        text.truncate(SheetCells::MaxTextLength);
    }
    return text;
}

bool XlsxSharedStrings::readNext() {
    while (!m_done && qsizetype(m_ends.size()) < kMaxItems && m_text.size() < m_maxHeldText) {
        if (auto* zipped = qobject_cast<ZipEntryDevice*>(m_part.get())) {
            zipped->setBudget(kItemBudget);
        }
        const QXmlStreamReader::TokenType token = m_xml.readNext();
        if (m_xml.atEnd() || m_xml.hasError()) {
            m_done = true;
            break;
        }
        if (token == QXmlStreamReader::StartElement && m_xml.name() == u"si") {
            m_text.append(readStringItem(m_xml));
            m_ends.push_back(m_text.size());
            return true;
        }
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
