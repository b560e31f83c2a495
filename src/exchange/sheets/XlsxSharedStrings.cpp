#include "exchange/sheets/XlsxSharedStrings.h"

#include "exchange/sheets/AsciiRuns.h"
#include "exchange/sheets/SheetCells.h"
#include "exchange/sheets/XlsxEscapes.h"
#include "exchange/sheets/XlsxXmlScanner.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
// The strings are kept in chunks of up to this many units (an item's offset takes 16 bits),
// the first ones smaller for the many small tables. Every string fits one: none is longer
// than a cell's text.
constexpr qsizetype kLargestChunk = 0xFFFF;
constexpr qsizetype kFirstChunk = 4096;
static_assert(SheetCells::MaxTextLength < kLargestChunk);
// The fewest bytes an item takes, "<si><t></t></si>": room in the index for the items at hand.
constexpr size_t kSmallestItem = 16;
} // namespace

XlsxSharedStrings::XlsxSharedStrings(std::unique_ptr<QIODevice> part, qsizetype maxHeldText,
                                     ReadAheadStream::Reading reading, ReadAheadThread* thread)
    : m_maxHeldText(maxHeldText) {
    if (!part) {
        m_tableEnded = true;
        return;
    }
    m_xml = std::make_unique<XlsxXmlScanner>(std::move(part), reading,
                                             ReadAheadStream::DefaultChunkBytes, thread);
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
        if (XlsxXmlScanner::widenPlain(bytes, reinterpret_cast<char16_t*>(text.data()) + start)) {
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

bool XlsxSharedStrings::mayTakeMore() const {
    return !m_tableEnded && m_itemCount < kMaxItems && m_textRead < m_maxHeldText;
}

void XlsxSharedStrings::makeRoom(qsizetype length) {
    if (!m_chunks.empty() && length <= m_chunkSize - m_chunkUsed) {
        return;
    }
    const qsizetype size =
        qMax(length, m_chunks.empty() ? kFirstChunk : qMin(2 * m_chunkSize, kLargestChunk));
    if (m_chunks.size() == m_chunks.capacity()) {
        m_chunks.reserve(qMax<size_t>(16, 2 * m_chunks.size())); // so that the push cannot fail
    }
    m_chunks.push_back(std::make_unique_for_overwrite<char16_t[]>(size_t(size)));
    m_chunkSize = size;
    m_chunkUsed = 0;
}

void XlsxSharedStrings::reserveItems(qsizetype more) {
    if (more <= m_itemRoom - m_itemCount) {
        return;
    }
    const qsizetype room = qMax(qMax<qsizetype>(2 * m_itemRoom, 1024), m_itemCount + more);
    auto larger = std::make_unique_for_overwrite<Item[]>(size_t(room));
    std::copy_n(m_items.get(), m_itemCount, larger.get());
    m_items = std::move(larger);
    m_itemRoom = room;
}

void XlsxSharedStrings::add(qsizetype length) {
    m_items[m_itemCount++] =
        Item(m_chunks.size() - 1) << 32 | Item(m_chunkUsed) << 16 | Item(length);
    m_chunkUsed += length;
    m_textRead += length;
}

bool XlsxSharedStrings::readItem() {
    while (mayTakeMore()) {
        m_xml->setBudget(kItemBudget);
        m_item.resize(0);
        // Most items are one plain <t>.
        if (const std::optional<std::string_view> item =
                m_xml->takeSimpleContent("<si><t>", "</t></si>")) {
            appendItemText(m_item, *item);
        } else {
            const Token token = m_xml->next();
            if (token == Token::Finished) {
                break;
            }
            if (token == Token::EndTag || m_xml->name() != "si") {
                continue;
            }
            if (token == Token::StartTag && !readStringItem(*m_xml, m_bytes, m_item)) {
                break;
            }
        }
        // Never longer than a cell's text, so it fits a chunk.
        makeRoom(m_item.size());
        reserveItems(1);
        std::copy_n(m_item.utf16(), m_item.size(), m_chunks.back().get() + m_chunkUsed);
        add(m_item.size());
        return true;
    }
    m_tableEnded = true;
    return false;
}

qsizetype XlsxSharedStrings::takePlainItems() {
    constexpr std::string_view open = "<si><t>";
    constexpr std::string_view close = "</t></si>";
    const std::string_view bytes = m_xml->ahead();
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    // The index has room for every item at hand, so the pass needs no check for it.
    reserveItems(qsizetype(bytes.size() / kSmallestItem) + 1);
    // Kept apart from the table while the pass runs, and written back once.
    char16_t* const chunk = m_chunks.empty() ? nullptr : m_chunks.back().get();
    const Item chunkNumber = Item(m_chunks.empty() ? 0 : m_chunks.size() - 1) << 32;
    const qsizetype chunkSize = m_chunkSize;
    qsizetype used = m_chunkUsed;
    qsizetype textRead = m_textRead;
    qsizetype count = m_itemCount;
    qsizetype needed = -1;
    while (textRead < m_maxHeldText && count < kMaxItems) {
        if (size_t(end - p) < open.size() + close.size() ||
            !AsciiRuns::same(p, open.data(), open.size())) {
            break;
        }
        const char* const text = p + open.size();
        size_t n = 0;
        bool read = false;
#if defined(__SSE2__)
        // An item shorter than sixteen bytes, with room to spare: looked at and widened in one
        // step, what follows its end left over or overwritten by the next one.
        if (end - text >= 32 && chunkSize - used >= 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
            const unsigned stops = unsigned(
                _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('<')),
                                                            _mm_cmpeq_epi8(v, _mm_set1_epi8('&'))),
                                               _mm_cmpeq_epi8(v, _mm_set1_epi8('\r')))));
            if (stops != 0) {
                n = size_t(std::countr_zero(stops));
                // Bytes beyond ASCII, and '_' that may begin an escape.
                const unsigned unusual = unsigned(
                    _mm_movemask_epi8(_mm_or_si128(v, _mm_cmpeq_epi8(v, _mm_set1_epi8('_')))));
                if ((unusual & ((1u << n) - 1)) != 0 ||
                    !AsciiRuns::same(text + n, close.data(), close.size())) {
                    break;
                }
                const __m128i zero = _mm_setzero_si128();
                auto* const to = reinterpret_cast<__m128i*>(chunk + used);
                _mm_storeu_si128(to, _mm_unpacklo_epi8(v, zero));
                _mm_storeu_si128(to + 1, _mm_unpackhi_epi8(v, zero));
                read = true;
            }
        }
#endif
        if (!read) {
            const char* const special = AsciiRuns::findSpecial(text, end);
            if (size_t(end - special) < close.size() ||
                !AsciiRuns::same(special, close.data(), close.size())) {
                break;
            }
            const std::string_view item(text, size_t(special - text));
            if (qsizetype(item.size()) > SheetCells::MaxTextLength ||
                !AsciiRuns::asciiWithout(item, '_')) {
                break;
            }
            n = item.size();
            if (!chunk || qsizetype(n) > chunkSize - used) {
                needed = qsizetype(n);
                break;
            }
            AsciiRuns::widen(item.data(), n, chunk + used);
        }
        m_items[count++] = chunkNumber | Item(used) << 16 | Item(n);
        used += qsizetype(n);
        textRead += qsizetype(n);
        p = text + n + close.size();
    }
    m_chunkUsed = used;
    m_textRead = textRead;
    m_itemCount = count;
    m_xml->skip(size_t(p - bytes.data()));
    return needed;
}

bool XlsxSharedStrings::readMore() {
    if (!mayTakeMore()) {
        m_tableEnded = true;
        return false;
    }
    const qsizetype before = m_itemCount;
    try {
        // A chunk is filled by the plain items until one does not fit, which begins the next.
        for (qsizetype needed = takePlainItems(); needed >= 0; needed = takePlainItems()) {
            makeRoom(needed);
        }
        if (m_itemCount == before) {
            readItem();
        }
    } catch (...) {
        // The strings read before the failure are whole, and stay.
        m_failure = std::current_exception();
        m_tableEnded = true;
    }
    return m_itemCount > before || !m_tableEnded;
}

QStringView XlsxSharedStrings::readThrough(qsizetype index) {
    if (index < 0) {
        return QStringView();
    }
    while (m_itemCount <= index && readMore()) {
    }
    if (m_itemCount <= index) {
        if (m_failure) {
            std::rethrow_exception(std::exchange(m_failure, nullptr));
        }
        return QStringView();
    }
    return textOf(m_items[index]);
}
