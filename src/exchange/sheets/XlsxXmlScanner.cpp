#include "exchange/sheets/XlsxXmlScanner.h"

#include "exchange/sheets/AsciiRuns.h"

#include <QString>

#include <array>
#include <bit>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using Token = XlsxXmlScanner::Token;

constexpr bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// What a byte is to the tag reader, one table lookup per byte.
enum ByteClass : quint8 {
    kSpace = 1,             // white space between names and values
    kEndsElementName = 2,   // white space, '>', '/', and '<', which no name holds
    kEndsAttributeName = 4, // those and '='
};
constexpr std::array<quint8, 256> kByteClass = [] {
    std::array<quint8, 256> classes{};
    for (char c : {' ', '\t', '\n', '\r'}) {
        classes[static_cast<unsigned char>(c)] = kSpace | kEndsElementName | kEndsAttributeName;
    }
    for (char c : {'>', '/', '<'}) {
        classes[static_cast<unsigned char>(c)] = kEndsElementName | kEndsAttributeName;
    }
    classes[static_cast<unsigned char>('=')] = kEndsAttributeName;
    return classes;
}();

bool is(char c, ByteClass byteClass) {
    return (kByteClass[static_cast<unsigned char>(c)] & byteClass) != 0;
}

// Passes over white space; mostly there is none, or one space.
const char* skipSpace(const char* q, const char* end) {
    while (q < end && is(*q, kSpace)) {
        ++q;
    }
    return q;
}

// Where the attribute value from `p` on ends (its closing quote, or end), and whether all of
// it is plain: no references, no white space that reads as a space. Eight bytes at a time,
// as most values are short and plain.
// Kept inline: a call costs as much as a short value does.
[[gnu::always_inline]] inline const char* findValueEnd(const char* p, const char* end, char quote,
                                                       bool& plain) {
    constexpr quint64 kOnes = 0x0101010101010101ULL;
    constexpr quint64 kHighs = 0x8080808080808080ULL;
    const auto zeroByte = [](quint64 v) { return (v - kOnes) & ~v & kHighs; };
    plain = true;
#if defined(__SSE2__)
    // Sixteen bytes per step: most values end within the first.
    const __m128i quotes = _mm_set1_epi8(quote);
    const __m128i amp = _mm_set1_epi8('&');
    const __m128i control = _mm_set1_epi8(0x1F);
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned closing = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, quotes)));
        // '&', or a byte below 0x20 (tab, line ends and the like).
        const unsigned special = unsigned(_mm_movemask_epi8(_mm_or_si128(
            _mm_cmpeq_epi8(v, amp), _mm_cmpeq_epi8(_mm_max_epu8(v, control), control))));
        if (closing | special) {
            const unsigned first = closing & (~closing + 1);
            if (closing && (special & (first - 1)) == 0) {
                return p + std::countr_zero(closing); // the usual end: plain throughout
            }
            break; // the bytes from here on are looked at one by one
        }
    }
#endif
    for (; end - p >= 8; p += 8) {
        quint64 word;
        std::memcpy(&word, p, 8);
        const quint64 quotes = zeroByte(word ^ (kOnes * quint8(quote)));
        // '&', or a byte below 0x20 (tab, line ends and the like).
        const quint64 special =
            zeroByte(word ^ (kOnes * '&')) | ((word - kOnes * 0x20) & ~word & kHighs);
        if (quotes | special) {
            if (quotes && (!special || std::countr_zero(quotes) < std::countr_zero(special))) {
                return p + (std::countr_zero(quotes) >> 3); // the usual end: plain throughout
            }
            break; // the bytes from here on are looked at one by one
        }
    }
    for (; p < end && *p != quote; ++p) {
        plain = plain && *p != '&' && quint8(*p) >= 0x20;
    }
    return p;
}

// ` x="`, as the four bytes read as a little-endian word show it, the name left out.
constexpr quint32 kQuickAttributeMask =
    std::endian::native == std::endian::little ? 0xFFFF00FFu : 0xFF00FFFFu;
constexpr quint32 kQuickAttribute = std::endian::native == std::endian::little
                                        ? quint32(' ') | quint32('=') << 16 | quint32('"') << 24
                                        : quint32(' ') << 24 | quint32('=') << 8 | quint32('"');

// The name at [from, to): its local part, after a prefix and its colon.
std::string_view localName(const char* from, const char* to) {
    for (const char* c = from; c < to; ++c) {
        if (*c == ':') {
            return std::string_view(c + 1, size_t(to - c - 1));
        }
    }
    return std::string_view(from, size_t(to - from));
}

// The longest reference read ("&#x0010FFFF;" and the like, with room for leading zeros).
constexpr size_t kMaxReference = 32;
// How much of a part's start is looked at for its encoding.
constexpr qsizetype kEncodingSniff = 512;

const char* find(const char* from, const char* to, char c) {
    return from < to ? static_cast<const char*>(std::memchr(from, c, size_t(to - from))) : nullptr;
}

void appendCapped(std::string& out, size_t cap, const char* from, size_t count) {
    if (out.size() < cap) {
        out.append(from, qMin(count, cap - out.size()));
    }
}

void appendUtf8(std::string& out, size_t cap, char32_t code) {
    char bytes[4];
    size_t count = 0;
    if (code < 0x80) {
        bytes[count++] = char(code);
    } else if (code < 0x800) {
        bytes[count++] = char(0xC0 | (code >> 6));
        bytes[count++] = char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        bytes[count++] = char(0xE0 | (code >> 12));
        bytes[count++] = char(0x80 | ((code >> 6) & 0x3F));
        bytes[count++] = char(0x80 | (code & 0x3F));
    } else {
        bytes[count++] = char(0xF0 | (code >> 18));
        bytes[count++] = char(0x80 | ((code >> 12) & 0x3F));
        bytes[count++] = char(0x80 | ((code >> 6) & 0x3F));
        bytes[count++] = char(0x80 | (code & 0x3F));
    }
    appendCapped(out, cap, bytes, count);
}

// The characters XML allows.
bool isXmlChar(char32_t code) {
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
           (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

enum class Reference { Read, Cut, Bad };

// Decodes the reference at `p` (its '&') into `out`; `after` is where it ends.
Reference decodeReference(const char* p, const char* end, std::string& out, size_t cap,
                          const char*& after) {
    const size_t available = size_t(end - p) - 1;
    const char* semicolon = find(p + 1, p + 1 + qMin(available, kMaxReference), ';');
    if (!semicolon) {
        return available < kMaxReference ? Reference::Cut : Reference::Bad;
    }
    const std::string_view body(p + 1, size_t(semicolon - p - 1));
    after = semicolon + 1;
    if (body.size() >= 2 && body[0] == '#') {
        const bool hex = body[1] == 'x';
        const std::string_view digits = body.substr(hex ? 2 : 1);
        if (digits.empty()) {
            return Reference::Bad;
        }
        char32_t code = 0;
        for (char c : digits) {
            int digit = -1;
            if (c >= '0' && c <= '9') {
                digit = c - '0';
            } else if (hex && c >= 'a' && c <= 'f') {
                digit = c - 'a' + 10;
            } else if (hex && c >= 'A' && c <= 'F') {
                digit = c - 'A' + 10;
            }
            if (digit < 0) {
                return Reference::Bad;
            }
            code = code * (hex ? 16 : 10) + char32_t(digit);
            if (code > 0x10FFFF) {
                return Reference::Bad;
            }
        }
        if (!isXmlChar(code)) {
            return Reference::Bad;
        }
        appendUtf8(out, cap, code);
        return Reference::Read;
    }
    char c = 0;
    if (body == "amp") {
        c = '&';
    } else if (body == "lt") {
        c = '<';
    } else if (body == "gt") {
        c = '>';
    } else if (body == "quot") {
        c = '"';
    } else if (body == "apos") {
        c = '\'';
    } else {
        return Reference::Bad; // no part declares entities of its own
    }
    appendCapped(out, cap, &c, 1);
    return Reference::Read;
}

// Appends [from, to) with its line ends made "\n", as XML reads them. A "\r" at `to` must not
// be followed by a "\n" the caller has not shown.
void appendNormalised(std::string& out, size_t cap, const char* from, const char* to) {
    while (from < to) {
        const char* cr = find(from, to, '\r');
        if (!cr) {
            appendCapped(out, cap, from, size_t(to - from));
            return;
        }
        appendCapped(out, cap, from, size_t(cr - from));
        appendCapped(out, cap, "\n", 1);
        from = cr + 1 < to && cr[1] == '\n' ? cr + 2 : cr + 1;
    }
}

} // namespace

XlsxXmlScanner::XlsxXmlScanner(std::unique_ptr<QIODevice> part, ReadAheadStream::Reading reading,
                               qsizetype chunkBytes, ReadAheadThread* thread)
    : m_input(std::move(part), chunkBytes, ReadAheadStream::DefaultChunks, reading, thread),
      m_window(size_t(chunkBytes) + 4096), m_limit(std::numeric_limits<qint64>::max()) {
    m_start = m_pos = m_end = m_dataEnd = m_window.data();
}

XlsxXmlScanner::~XlsxXmlScanner() = default;

void XlsxXmlScanner::chooseEncoding(QByteArray& start) {
    const auto startsWith = [&start](const char* bytes, qsizetype size) {
        return start.size() >= size && std::memcmp(start.constData(), bytes, size_t(size)) == 0;
    };
    if (startsWith("\xEF\xBB\xBF", 3)) {
        start.remove(0, 3);
        return;
    }
    if (startsWith("\xFE\xFF", 2) || startsWith("\0<\0?", 4)) {
        m_decoder.emplace(QStringConverter::Utf16BE);
        return;
    }
    if (startsWith("\xFF\xFE", 2) || startsWith("<\0?\0", 4)) {
        m_decoder.emplace(QStringConverter::Utf16LE);
        return;
    }
    if (!startsWith("<?xml", 5)) {
        return;
    }
    // The declaration may name another encoding than UTF-8.
    const qsizetype close = start.indexOf("?>");
    const QByteArrayView declaration =
        QByteArrayView(start).first(close < 0 ? start.size() : close);
    const qsizetype at = declaration.indexOf("encoding");
    if (at < 0) {
        return;
    }
    qsizetype p = at + 8;
    while (p < declaration.size() && isSpace(declaration[p])) {
        ++p;
    }
    if (p >= declaration.size() || declaration[p] != '=') {
        return;
    }
    ++p;
    while (p < declaration.size() && isSpace(declaration[p])) {
        ++p;
    }
    if (p >= declaration.size() || (declaration[p] != '"' && declaration[p] != '\'')) {
        return;
    }
    const qsizetype end = declaration.indexOf(declaration[p], p + 1);
    if (end < 0) {
        return;
    }
    const QByteArray name = declaration.sliced(p + 1, end - p - 1).toByteArray();
    const std::optional<QStringConverter::Encoding> encoding =
        QStringConverter::encodingForName(name.constData());
    if (encoding && *encoding != QStringConverter::Utf8) {
        m_decoder.emplace(*encoding);
    }
}

QByteArrayView XlsxXmlScanner::nextInput() {
    if (!m_encodingKnown) {
        m_encodingKnown = true;
        QByteArray start;
        while (start.size() < kEncodingSniff && (start.size() < 4 || !start.contains('>'))) {
            const QByteArrayView chunk = m_input.next();
            if (chunk.isEmpty()) {
                break;
            }
            start.append(chunk);
        }
        chooseEncoding(start);
        m_converted = m_decoder ? QString(m_decoder->decode(start)).toUtf8() : start;
        if (!m_converted.isEmpty() || start.isEmpty()) {
            return m_converted;
        }
    }
    for (;;) {
        const QByteArrayView chunk = m_input.next();
        if (!m_decoder || chunk.isEmpty()) {
            return chunk;
        }
        // A chunk may end inside a character; the decoder keeps that part for the next one.
        m_converted = QString(m_decoder->decode(chunk)).toUtf8();
        if (!m_converted.isEmpty()) {
            return m_converted;
        }
    }
}

bool XlsxXmlScanner::refill() {
    if (m_inputEnded || m_end < m_dataEnd || m_windowOffset + (m_dataEnd - m_start) >= m_limit) {
        return false;
    }
    const size_t kept = size_t(m_dataEnd - m_pos);
    if (kept > size_t(MaxTagBytes)) {
        m_malformed = true;
        return false;
    }
    // The unread bytes are moved aside first: the chunk they lie in may go back to the reading
    // thread with the next one taken.
    m_windowOffset += m_pos - m_start;
    if (kept > m_window.size()) {
        m_window.resize(kept + kept / 2);
    }
    std::memmove(m_window.data(), m_pos, kept);
    m_start = m_pos = m_window.data();
    m_dataEnd = m_pos + kept;
    applyBudget();
    if (m_encodingKnown && !m_decoder) {
        // Most chunks are read where they lie, the few bytes left of the one before put in
        // front of them, rather than copied whole into the window.
        const std::span<char> chunk = m_input.nextInPlace();
        if (chunk.empty()) {
            m_inputEnded = true;
            return false;
        }
        if (kept <= size_t(ReadAheadStream::HeadRoom)) {
            char* const front = chunk.data() - kept;
            std::memcpy(front, m_window.data(), kept);
            m_start = m_pos = front;
            m_dataEnd = chunk.data() + chunk.size();
            applyBudget();
            return true;
        }
        append(QByteArrayView(chunk.data(), qsizetype(chunk.size())));
        return true;
    }
    const QByteArrayView chunk = nextInput();
    if (chunk.isEmpty()) {
        m_inputEnded = true;
        return false;
    }
    append(chunk);
    return true;
}

void XlsxXmlScanner::append(QByteArrayView chunk) {
    // The window holds only the unread bytes now, from its start.
    const size_t kept = size_t(m_dataEnd - m_pos);
    const size_t needed = kept + size_t(chunk.size());
    if (needed > m_window.size()) {
        std::vector<char> larger(needed + needed / 2);
        std::memcpy(larger.data(), m_pos, kept);
        m_window.swap(larger);
    }
    std::memcpy(m_window.data() + kept, chunk.data(), size_t(chunk.size()));
    m_start = m_pos = m_window.data();
    m_dataEnd = m_pos + needed;
    applyBudget();
}

void XlsxXmlScanner::applyBudget() {
    const char* start = m_start;
    m_end = m_dataEnd;
    const qint64 visible = m_limit - m_windowOffset;
    if (visible < m_dataEnd - start) {
        m_end = start + qMax<qint64>(visible, m_pos - start);
    }
}

void XlsxXmlScanner::setBudget(qint64 bytes) {
    const qint64 here = m_windowOffset + (m_pos - m_start);
    const qint64 room = std::numeric_limits<qint64>::max() - here;
    m_limit = here + qBound<qint64>(0, bytes, room);
    applyBudget();
}

Token XlsxXmlScanner::finish(bool bad) {
    m_finished = true;
    m_malformed = m_malformed || bad;
    m_name = {};
    m_attributeCount = 0;
    return Token::Finished;
}

Token XlsxXmlScanner::next(std::string* text, size_t maxText) {
    if (m_finished) {
        return Token::Finished;
    }
    for (;;) {
        const char* markup = nullptr;
        if (m_pos < m_end && *m_pos == '<') {
            markup = m_pos; // the usual case: one tag right after another
        } else if (!text) {
            markup = find(m_pos, m_end, '<');
            m_pos = markup ? markup : m_end;
        } else {
            bool bad = false;
            markup = appendText(*text, maxText, bad);
            if (bad) {
                return finish(true);
            }
        }
        if (!markup) {
            if (!refill()) {
                return finish(false);
            }
            continue;
        }
        switch (readMarkup(text, maxText)) {
        case Markup::Tag:
            return m_token;
        case Markup::Skipped:
            continue;
        case Markup::NeedMore:
            if (!refill()) {
                return finish(false);
            }
            continue;
        case Markup::Bad:
            return finish(true);
        case Markup::Ended:
            return finish(false);
        }
    }
}

const char* XlsxXmlScanner::appendText(std::string& text, size_t maxText, bool& bad) {
    const char* p = m_pos;
    for (;;) {
        const char* special = AsciiRuns::findSpecial(p, m_end);
        appendCapped(text, maxText, p, size_t(special - p));
        p = special;
        if (p == m_end) {
            break;
        }
        if (*p == '<') {
            m_pos = p;
            return p;
        }
        if (*p == '\r') {
            if (p + 1 == m_end) {
                break; // a "\n" may follow in the next window
            }
            appendCapped(text, maxText, "\n", 1);
            p += p[1] == '\n' ? 2 : 1;
            continue;
        }
        const char* after = nullptr;
        const Reference read = decodeReference(p, m_end, text, maxText, after);
        if (read == Reference::Bad) {
            m_pos = p;
            bad = true;
            return nullptr;
        }
        if (read == Reference::Cut) {
            break; // the rest of it comes with the next window
        }
        p = after;
    }
    m_pos = p;
    return nullptr;
}

XlsxXmlScanner::Markup XlsxXmlScanner::readMarkup(std::string* text, size_t maxText) {
    const char* p = m_pos + 1;
    if (p >= m_end) {
        return Markup::NeedMore;
    }
    switch (*p) {
    case '/':
        return readEndTag(p + 1);
    case '?':
        m_pos = p + 1;
        return skipPast("?>", nullptr, 0) ? Markup::Skipped : Markup::Ended;
    case '!': {
        const size_t available = size_t(m_end - m_pos);
        if (available < 4) {
            return Markup::NeedMore;
        }
        if (std::memcmp(m_pos, "<!--", 4) == 0) {
            m_pos += 4;
            return skipPast("-->", nullptr, 0) ? Markup::Skipped : Markup::Ended;
        }
        if (available < 9) {
            return Markup::NeedMore;
        }
        if (std::memcmp(m_pos, "<![CDATA[", 9) == 0) {
            m_pos += 9;
            return skipPast("]]>", text, maxText) ? Markup::Skipped : Markup::Ended;
        }
        m_pos += 2;
        return skipDeclaration() ? Markup::Skipped : Markup::Ended;
    }
    default:
        return readStartTag(p);
    }
}

XlsxXmlScanner::Markup XlsxXmlScanner::readEndTag(const char* p) {
    const char* end = m_end;
    const char* q = p;
    while (q < end && !is(*q, kEndsElementName)) {
        ++q;
    }
    const char* nameEnd = q;
    q = skipSpace(q, end);
    if (q == end) {
        return Markup::NeedMore;
    }
    if (*q != '>' || nameEnd == p) {
        return Markup::Bad;
    }
    m_name = localName(p, nameEnd);
    m_attributeCount = 0;
    m_token = Token::EndTag;
    m_pos = q + 1;
    return Markup::Tag;
}

XlsxXmlScanner::Markup XlsxXmlScanner::readStartTag(const char* p) {
    const char* end = m_end;
    const char* q = p;
    while (q < end && !is(*q, kEndsElementName)) {
        ++q;
    }
    if (q == end) {
        return Markup::NeedMore;
    }
    if (q == p) {
        return Markup::Bad;
    }
    const char* nameEnd = q;
    m_attributeCount = 0;
    for (;;) {
        // Most attributes of a worksheet are written ` x="value"`: one space, a one-letter
        // name, '=' and a double quote, read here in one step.
        quint32 head = 0;
        if (end - q >= 4) {
            std::memcpy(&head, q, 4);
        }
        if ((head & kQuickAttributeMask) == kQuickAttribute && !is(q[1], kEndsAttributeName)) {
            bool plain = true;
            const char* close = findValueEnd(q + 4, end, '"', plain);
            if (close == end) {
                return Markup::NeedMore;
            }
            addAttribute({std::string_view(q + 1, 1),
                          std::string_view(q + 4, size_t(close - q - 4)), plain});
            q = close + 1;
            continue;
        }
        // Mostly one space before each attribute, or none before the tag's end.
        if (end - q >= 2 && *q == ' ' && !is(q[1], kSpace)) {
            ++q;
        } else {
            q = skipSpace(q, end);
        }
        if (q == end) {
            return Markup::NeedMore;
        }
        if (*q == '>') {
            m_token = Token::StartTag;
            m_pos = q + 1;
            break;
        }
        if (*q == '/') {
            if (q + 1 == end) {
                return Markup::NeedMore;
            }
            if (q[1] != '>') {
                return Markup::Bad;
            }
            m_token = Token::EmptyTag;
            m_pos = q + 2;
            break;
        }
        const char* attributeName = q;
        while (q < end && !is(*q, kEndsAttributeName)) {
            ++q;
        }
        if (q == attributeName) {
            return Markup::Bad;
        }
        const std::string_view name(attributeName, size_t(q - attributeName));
        // Mostly name="value", without white space around the '='.
        if (end - q >= 2 && *q == '=' && (q[1] == '"' || q[1] == '\'')) {
            ++q;
        } else {
            q = skipSpace(q, end);
            if (q == end) {
                return Markup::NeedMore;
            }
            if (*q != '=') {
                return Markup::Bad;
            }
            q = skipSpace(q + 1, end);
            if (q == end) {
                return Markup::NeedMore;
            }
        }
        const char quote = *q;
        if (quote != '"' && quote != '\'') {
            return Markup::Bad;
        }
        bool plain = true;
        const char* close = findValueEnd(q + 1, end, quote, plain);
        if (close == end) {
            return Markup::NeedMore;
        }
        addAttribute({name, std::string_view(q + 1, size_t(close - q - 1)), plain});
        q = close + 1;
    }
    if (m_pos - p > MaxTagBytes) {
        return Markup::Bad; // however it was split into chunks
    }
    m_name = nameEnd - p == 1 ? std::string_view(p, 1) : localName(p, nameEnd);
    return Markup::Tag;
}

bool XlsxXmlScanner::skipPast(std::string_view terminator, std::string* text, size_t maxText) {
    for (;;) {
        const std::string_view window(m_pos, size_t(m_end - m_pos));
        const size_t found = window.find(terminator);
        if (found != std::string_view::npos) {
            if (text) {
                appendNormalised(*text, maxText, m_pos, m_pos + found);
            }
            m_pos += found + terminator.size();
            return true;
        }
        // Keep what could be the terminator's start, and a "\r" that a "\n" may follow.
        const char* keep = m_end - qMin(window.size(), terminator.size() - 1);
        if (keep > m_pos && keep[-1] == '\r') {
            --keep;
        }
        if (text) {
            appendNormalised(*text, maxText, m_pos, keep);
        }
        m_pos = keep;
        if (!refill()) {
            return false;
        }
    }
}

bool XlsxXmlScanner::skipDeclaration() {
    // <!DOCTYPE ...> and the like: its internal subset in brackets, its literals in quotes.
    int depth = 0;
    char quote = 0;
    for (;;) {
        while (m_pos < m_end) {
            const char c = *m_pos++;
            if (quote) {
                quote = c == quote ? 0 : quote;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '[') {
                ++depth;
            } else if (c == ']') {
                depth = qMax(0, depth - 1);
            } else if (c == '>' && depth == 0) {
                return true;
            }
        }
        if (!refill()) {
            return false;
        }
    }
}

std::optional<std::string_view> XlsxXmlScanner::attribute(std::string_view name) {
    for (const Attribute& attribute : attributes()) {
        if (attribute.name == name) {
            return value(attribute);
        }
    }
    return std::nullopt;
}

std::optional<std::string_view> XlsxXmlScanner::takeSimpleContent(std::string_view open,
                                                                  std::string_view close) {
    const auto matches = [](const char* at, std::string_view bytes) {
        return AsciiRuns::same(at, bytes.data(), bytes.size());
    };
    if (m_finished || size_t(m_end - m_pos) < open.size() + close.size() || !matches(m_pos, open)) {
        return std::nullopt;
    }
    const char* text = m_pos + open.size();
    const char* special = AsciiRuns::findSpecial(text, m_end);
    if (special == m_end || *special != '<' || size_t(m_end - special) < close.size() ||
        !matches(special, close)) {
        return std::nullopt;
    }
    m_pos = special + close.size();
    return std::string_view(text, size_t(special - text));
}

std::string_view XlsxXmlScanner::value(const Attribute& attribute) {
    const std::string_view value = attribute.value;
    if (attribute.plain) {
        return value;
    }
    // A reference that cannot be read stays as written.
    m_decoded.clear();
    const char* p = value.data();
    const char* end = p + value.size();
    while (p < end) {
        const char c = *p;
        if (c == '&') {
            const char* after = nullptr;
            if (decodeReference(p, end, m_decoded, std::string::npos, after) == Reference::Read) {
                p = after;
                continue;
            }
            m_decoded += c;
        } else if (isSpace(c)) {
            m_decoded += ' ';
            if (c == '\r' && p + 1 < end && p[1] == '\n') {
                ++p;
            }
        } else {
            m_decoded += c;
        }
        ++p;
    }
    return m_decoded;
}

bool XlsxXmlScanner::skipElement() {
    int depth = 1;
    while (depth > 0) {
        switch (next()) {
        case Token::StartTag:
            ++depth;
            break;
        case Token::EndTag:
            --depth;
            break;
        case Token::EmptyTag:
            break;
        case Token::Finished:
            return false;
        }
    }
    return true;
}

void XlsxXmlScanner::appendUtf8(QString& out, std::string_view bytes) {
    // Most texts are ASCII: widened in place, without a detour through a new string.
    const qsizetype start = out.size();
    out.resize(start + qsizetype(bytes.size()));
    char16_t* to = reinterpret_cast<char16_t*>(out.data()) + start;
    quint8 high = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const quint8 byte = quint8(bytes[i]);
        high |= byte;
        to[i] = byte;
    }
    if (high & 0x80) {
        out.truncate(start);
        out.append(QString::fromUtf8(bytes.data(), qsizetype(bytes.size())));
    }
}

bool XlsxXmlScanner::widenPlain(std::string_view bytes, char16_t* to) {
    if (!AsciiRuns::asciiWithout(bytes, '_')) {
        return false;
    }
    AsciiRuns::widen(bytes.data(), bytes.size(), to);
    return true;
}
