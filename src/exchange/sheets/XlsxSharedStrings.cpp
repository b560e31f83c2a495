#include "exchange/sheets/XlsxSharedStrings.h"

#include "exchange/sheets/AsciiRuns.h"
#include "exchange/sheets/SheetCells.h"
#include "exchange/sheets/XlsxEscapes.h"
#include "exchange/sheets/XlsxXmlScanner.h"

#include <system_error>

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
// The reading thread hands strings over in blocks of about this much text (or this many
// strings), and runs at most a few blocks ahead of the cells. Small enough that the allocator
// keeps them on its heap rather than mapping (and the other thread unmapping) pages for each.
constexpr qsizetype kBlockText = 16 * 1024;
constexpr qsizetype kBlockItems = 4 * 1024;
// Room past kBlockText, so the string that ends a block mostly fits the memory it has.
constexpr qsizetype kBlockSlack = 256;
constexpr size_t kBlocksAhead = 8;
} // namespace

XlsxSharedStrings::XlsxSharedStrings(std::unique_ptr<QIODevice> part, qsizetype maxHeldText,
                                     ReadAheadStream::Reading reading)
    : m_maxHeldText(maxHeldText) {
    if (!part) {
        m_done = true;
        return;
    }
    // The reading thread inflates the part itself: one thread for the table is enough.
    m_xml = std::make_unique<XlsxXmlScanner>(std::move(part), ReadAheadStream::Reading::OnDemand);
    if (reading == ReadAheadStream::Reading::OnDemand) {
        return;
    }
    try {
        m_thread = std::thread(&XlsxSharedStrings::run, this);
        m_threaded = true;
    } catch (const std::system_error&) {
        // No thread to be had: the table is read as its strings are asked for.
    }
}

XlsxSharedStrings::~XlsxSharedStrings() {
    if (m_threaded) {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_taken.notify_one();
        m_thread.join();
    }
}

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

bool XlsxSharedStrings::readItem(QString& text) {
    while (!m_tableEnded && m_itemsRead < kMaxItems && m_textRead < m_maxHeldText) {
        m_xml->setBudget(kItemBudget);
        const qsizetype start = text.size();
        // Most items are one plain <t>.
        if (const std::optional<std::string_view> item =
                m_xml->takeSimpleContent("<si><t>", "</t></si>")) {
            appendItemText(text, *item);
        } else {
            const Token token = m_xml->next();
            if (token == Token::Finished) {
                break;
            }
            if (token == Token::EndTag || m_xml->name() != "si") {
                continue;
            }
            if (token == Token::StartTag && !readStringItem(*m_xml, m_bytes, text)) {
                break;
            }
        }
        ++m_itemsRead;
        m_textRead += text.size() - start;
        return true;
    }
    m_tableEnded = true;
    return false;
}

void XlsxSharedStrings::takePlainItems(Block& block) {
    constexpr std::string_view open = "<si><t>";
    constexpr std::string_view close = "</t></si>";
    const std::string_view bytes = m_xml->ahead();
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    // Written in place: the block has room for this much, and is cut to what was written.
    const qsizetype room = kBlockText + kBlockSlack;
    qsizetype used = block.text.size();
    block.text.resize(room);
    char16_t* const to = reinterpret_cast<char16_t*>(block.text.data());
    while (used < kBlockText && qsizetype(block.ends.size()) < kBlockItems && !m_tableEnded &&
           m_itemsRead < kMaxItems && m_textRead < m_maxHeldText) {
        if (size_t(end - p) < open.size() + close.size() ||
            !AsciiRuns::same(p, open.data(), open.size())) {
            break;
        }
        const char* const text = p + open.size();
        const char* const special = AsciiRuns::findSpecial(text, end);
        if (size_t(end - special) < close.size() ||
            !AsciiRuns::same(special, close.data(), close.size())) {
            break;
        }
        const std::string_view item(text, size_t(special - text));
        if (qsizetype(item.size()) > room - used || !AsciiRuns::asciiWithout(item, '_')) {
            break;
        }
        AsciiRuns::widen(item.data(), item.size(), to + used);
        used += qsizetype(item.size());
        block.ends.push_back(used);
        ++m_itemsRead;
        m_textRead += qsizetype(item.size());
        p = special + close.size();
    }
    block.text.truncate(used);
    m_xml->skip(size_t(p - bytes.data()));
}

void XlsxSharedStrings::fill(Block& block) {
    block.last = false;
    block.text.reserve(kBlockText + kBlockSlack);
    while (block.text.size() < kBlockText && qsizetype(block.ends.size()) < kBlockItems) {
        takePlainItems(block);
        if (block.text.size() >= kBlockText || qsizetype(block.ends.size()) >= kBlockItems) {
            return;
        }
        if (m_stopping.load(std::memory_order_relaxed) || !readItem(block.text)) {
            block.last = true;
            return;
        }
        block.ends.push_back(block.text.size());
    }
}

void XlsxSharedStrings::run() noexcept {
    Block block;
    try {
        bool last = false;
        while (!last) {
            fill(block);
            last = block.last;
            std::unique_lock lock(m_mutex);
            m_blocks.push_back(std::move(block));
            block = Block();
            if (!m_spare.empty()) {
                block = std::move(m_spare.back());
                m_spare.pop_back();
            }
            m_ended = last;
            if (m_takerWaits) {
                m_filled.notify_one();
            }
            if (!last && m_blocks.size() >= kBlocksAhead) {
                m_readerWaits = true;
                m_taken.wait(lock,
                             [this] { return m_stopping || m_blocks.size() <= kBlocksAhead / 2; });
                m_readerWaits = false;
            }
            if (m_stopping) {
                return;
            }
        }
    } catch (...) {
        // The strings read before the failure are whole; they come first.
        const std::lock_guard lock(m_mutex);
        block.text.truncate(block.ends.empty() ? 0 : block.ends.back());
        block.last = true;
        m_blocks.push_back(std::move(block));
        m_failure = std::current_exception();
        m_ended = true;
        m_filled.notify_one();
    }
}

bool XlsxSharedStrings::take() {
    Block block;
    if (!m_threaded) {
        fill(block);
    } else {
        std::unique_lock lock(m_mutex);
        if (m_blocks.empty() && !m_ended) {
            m_takerWaits = true;
            m_filled.wait(lock, [this] { return !m_blocks.empty() || m_ended; });
            m_takerWaits = false;
        }
        if (m_blocks.empty()) {
            return false;
        }
        block = std::move(m_blocks.front());
        m_blocks.pop_front();
        if (m_readerWaits && m_blocks.size() <= kBlocksAhead / 2) {
            m_taken.notify_one();
        }
    }
    // The reading side kept to the table's bounds, so all of the block is held.
    const qsizetype base = m_text.size();
    m_text.append(QStringView(block.text));
    for (qsizetype end : block.ends) {
        m_ends.push_back(base + end);
    }
    const bool more = !block.last;
    if (m_threaded && more) {
        // Its memory goes back to the reading thread, rather than to and from the allocator.
        block.text.resize(0);
        block.ends.clear();
        const std::lock_guard lock(m_mutex);
        m_spare.push_back(std::move(block));
    }
    return more;
}

void XlsxSharedStrings::throwFailure() {
    const std::lock_guard lock(m_mutex);
    if (m_failure) {
        std::rethrow_exception(std::exchange(m_failure, nullptr));
    }
}

QStringView XlsxSharedStrings::at(qsizetype index) {
    if (index < 0) {
        return QStringView();
    }
    while (qsizetype(m_ends.size()) <= index && !m_done) {
        m_done = !take();
    }
    if (qsizetype(m_ends.size()) <= index) {
        if (m_threaded) {
            throwFailure(); // once, when a string that failed to be read is asked for
        }
        return QStringView();
    }
    const qsizetype start = index == 0 ? 0 : m_ends[size_t(index - 1)];
    return QStringView(m_text).sliced(start, m_ends[size_t(index)] - start);
}
