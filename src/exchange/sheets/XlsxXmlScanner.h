#pragma once

#include "exchange/sheets/ReadAheadStream.h"

#include <QIODevice>
#include <QString>
#include <QStringDecoder>
#include <QtGlobal>

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

/// Scans the XML of a worksheet or shared-string part tag by tag, for the import's hot path.
/// The part is read on a thread of its own (ReadAheadStream) and scanned as UTF-8 bytes where
/// they lie; only the texts and attributes asked for are decoded. Well-formed XML reads as any
/// XML parser reads it (references, CDATA sections, comments, processing instructions, line
/// ends, either quote); names are matched by their local part, so prefixed names read like
/// plain ones. What it cannot read (an unknown entity, a tag left open, the part ending) ends
/// the scan there, as the end of the part would.
class XlsxXmlScanner final {
public:
    enum class Token {
        StartTag, // <name ...>
        EmptyTag, // <name .../>, an element without content
        EndTag,   // </name>
        Finished, // the part ended, or could not be read further
    };
    struct Attribute {
        std::string_view name;  // qualified, as written
        std::string_view value; // as written, between the quotes
        bool plain = true;      // no references or white space but spaces in the value
    };

    /// The longest tag held whole; no part has one near it, so a longer one ends the scan.
    static constexpr qsizetype MaxTagBytes = 4 * 1024 * 1024;

    /// Scans `part`, read on a thread of its own (or `thread`, which outlives the scanner)
    /// unless `reading` says otherwise; nullptr reads as an empty part.
    explicit XlsxXmlScanner(std::unique_ptr<QIODevice> part,
                            ReadAheadStream::Reading reading = ReadAheadStream::Reading::Ahead,
                            qsizetype chunkBytes = ReadAheadStream::DefaultChunkBytes,
                            ReadAheadThread* thread = nullptr);
    ~XlsxXmlScanner();
    Q_DISABLE_COPY_MOVE(XlsxXmlScanner)

    /// Moves to the next tag. With `text`, the character data before the tag is appended to it
    /// as UTF-8, decoded, for as long as `text` stays within `maxText` bytes.
    Token next(std::string* text = nullptr, size_t maxText = 0);
    /// The local name of the tag read last ("c" of "x:c").
    std::string_view name() const { return m_name; }
    /// The value of the last start tag's attribute of that (qualified) name, references
    /// decoded; nothing when the tag has no such attribute. Valid until the next call.
    std::optional<std::string_view> attribute(std::string_view name);
    /// The last start tag's attributes, in their order; valid until the next call of next().
    std::span<const Attribute> attributes() const {
        return std::span<const Attribute>(m_attributes.data(), m_attributeCount);
    }
    /// An attribute's value with its references decoded and its white space made spaces;
    /// valid until the next call.
    std::string_view value(const Attribute& attribute);

    /// The usual shape of a simple element's content, read in one step: when the bytes at the
    /// scan position are `open`, character data without references or line ends, and `close`
    /// (all within the bytes at hand), moves past them and returns the character data.
    /// Otherwise moves nowhere, and next() reads the same bytes tag by tag.
    std::optional<std::string_view> takeSimpleContent(std::string_view open,
                                                      std::string_view close);
    /// The bytes from the scan position to the end of those at hand (within the budget), for a
    /// caller that reads a usual shape of markup itself; empty once the scan has ended.
    std::string_view ahead() const {
        return m_finished ? std::string_view() : std::string_view(m_pos, size_t(m_end - m_pos));
    }
    /// Moves past the first `bytes` of ahead(), which the caller has read as whole elements.
    void skip(size_t bytes) { m_pos += bytes; }
    /// After a start tag, passes over the element's content and its end tag; false when the
    /// part ends first.
    bool skipElement();
    /// From here on, the scan reads at most `bytes` more bytes of the part.
    void setBudget(qint64 bytes);
    /// True once the scan has ended on bytes it could not read as XML.
    bool malformed() const { return m_malformed; }

    /// Appends UTF-8 `bytes` to `out` (QString::fromUtf8's reading).
    static void appendUtf8(QString& out, std::string_view bytes);
    /// When `bytes` are ASCII without '_' (so without "_xHHHH_" escapes), as most texts are:
    /// true, and `to`, which has room for bytes.size() units, starts with them as UTF-16.
    static bool widenPlain(std::string_view bytes, char16_t* to);

private:
    enum class Markup { Tag, Skipped, NeedMore, Bad, Ended };

    bool refill();
    // Puts `chunk` into the window after the unread bytes, which lie at its start.
    void append(QByteArrayView chunk);
    QByteArrayView nextInput();
    void chooseEncoding(QByteArray& start);
    void applyBudget();
    Token finish(bool bad);

    Markup readMarkup(std::string* text, size_t maxText);
    Markup readStartTag(const char* p);
    Markup readEndTag(const char* p);
    void addAttribute(const Attribute& attribute) {
        if (m_attributeCount == m_attributes.size()) {
            m_attributes.resize(qMax<size_t>(8, 2 * m_attributes.size()));
        }
        m_attributes[m_attributeCount++] = attribute;
    }
    // Passes over the rest of a comment, processing instruction, CDATA section (its text
    // appended to `text`) or declaration; false when the part ends first.
    bool skipPast(std::string_view terminator, std::string* text, size_t maxText);
    bool skipDeclaration();
    // Appends the character data from m_pos on and moves past it: up to the next '<', which it
    // returns, or the window's end (nullptr), where a reference or line end it cuts is left for
    // the next window. `bad` on a reference that cannot be read.
    const char* appendText(std::string& text, size_t maxText, bool& bad);

    ReadAheadStream m_input;
    std::optional<QStringDecoder> m_decoder; // for a part that is not UTF-8
    QByteArray m_converted;
    bool m_encodingKnown = false;
    bool m_inputEnded = false;
    bool m_malformed = false;
    bool m_finished = false;

    std::vector<char> m_window;    // for chunks that cannot be read where they lie
    const char* m_start = nullptr; // the first byte of the data scanned: the window's, or a chunk's
    const char* m_pos = nullptr;
    const char* m_end = nullptr;     // where the scan stops: the data's end, or the budget's
    const char* m_dataEnd = nullptr; // where the data in the window ends
    qint64 m_windowOffset = 0;       // the part offset of the window's first byte
    qint64 m_limit;                  // the part offset the budget ends at

    Token m_token = Token::Finished;
    std::string_view m_name;
    // Kept at its largest size, so reading a tag allocates nothing and constructs nothing.
    std::vector<Attribute> m_attributes;
    size_t m_attributeCount = 0;
    std::string m_decoded; // an attribute value with references
};
