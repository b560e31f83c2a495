#pragma once

#include "exchange/sheets/ReadAheadStream.h"

#include <QIODevice>
#include <QString>
#include <QStringView>

#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class XlsxXmlScanner;

/// The shared-string table of an .xlsx workbook, read only as far as the cells read so far
/// refer to it, so a large workbook's table is not held whole for its first rows. Its strings
/// are scanned on the thread that asks for them, where they are kept; only inflating the part
/// runs ahead (XlsxXmlScanner).
class XlsxSharedStrings final {
public:
    /// The most text the table holds. Its strings are kept from the first one on, and a small
    /// package can inflate into gigabytes of them; no workbook's first rows need strings that
    /// lie this far in, so the table is not followed further.
    static constexpr qsizetype MaxHeldText = 128 * 1024 * 1024;

    /// Reads from `part`; nullptr for a workbook without a table. Once `maxHeldText`
    /// characters are held, later strings read as empty. The part is inflated on a thread of
    /// its own (or `thread`, which outlives the table) unless `reading` says otherwise.
    explicit XlsxSharedStrings(std::unique_ptr<QIODevice> part, qsizetype maxHeldText = MaxHeldText,
                               ReadAheadStream::Reading reading = ReadAheadStream::Reading::Ahead,
                               ReadAheadThread* thread = nullptr);
    ~XlsxSharedStrings();
    Q_DISABLE_COPY_MOVE(XlsxSharedStrings)

    /// The string at `index` (from 0), empty when the table has none there. Valid as long as
    /// the table. What reading the part threw (memory running out) is thrown here, once, when
    /// a string it kept from being read is asked for.
    QStringView at(qsizetype index) {
        // Most cells name a string already read: no call for them.
        if (quint64(index) < quint64(m_itemCount)) {
            return textOf(m_items[index]);
        }
        return readThrough(index);
    }
    /// The memory the strings read so far take: their characters and where each one lies.
    qint64 heldBytes() const { return 2 * qint64(m_textRead) + 8 * qint64(m_itemCount); }

    /// Reads one string item (<si> or <is>: a plain <t>, or rich-text runs whose <t> texts are
    /// joined, phonetic runs left out) from just after its start tag through its end tag, and
    /// appends it to `text` with its escapes decoded, cut to the longest text a cell holds.
    /// `bytes` is room for the raw text. False, with nothing appended, when the part ends
    /// inside the item.
    static bool readStringItem(XlsxXmlScanner& xml, std::string& bytes, QString& text);
    /// Appends the raw UTF-8 text of a string item to `text` as readStringItem() does.
    static void appendItemText(QString& text, std::string_view bytes);

private:
    // Where a string lies: its chunk, its offset there and its length, in one word.
    using Item = quint64;

    QStringView textOf(Item item) const {
        return QStringView(m_chunks[size_t(item >> 32)].get() + ((item >> 16) & 0xFFFF),
                           qsizetype(item & 0xFFFF));
    }
    // Reads strings until the one at `index` is held or the table ends; that string.
    QStringView readThrough(qsizetype index);
    // Reads the strings at hand, at least one; false once the table has ended.
    bool readMore();
    // Reads the items that are one plain <t> of ASCII without escapes, as many as follow one
    // another in the bytes at hand, in one pass. The length of the next one when it needs a
    // new chunk, otherwise -1.
    qsizetype takePlainItems();
    // Reads the next item tag by tag; false at the end of the table.
    bool readItem();
    // Room for a string of `length` units in the last chunk, a new one when it has none.
    void makeRoom(qsizetype length);
    // Records the `length` units just written at the end of the last chunk as the next string.
    void add(qsizetype length);
    // Room in the index for `more` items.
    void reserveItems(qsizetype more);
    bool mayTakeMore() const;

    std::unique_ptr<XlsxXmlScanner> m_xml;
    std::string m_bytes;
    QString m_item; // an item read tag by tag
    qsizetype m_maxHeldText;
    qsizetype m_textRead = 0;
    bool m_tableEnded = false;
    std::exception_ptr m_failure;

    // The strings, one after the other in chunks that never move; none crosses a chunk's end.
    std::vector<std::unique_ptr<char16_t[]>> m_chunks;
    qsizetype m_chunkSize = 0;
    qsizetype m_chunkUsed = 0;
    std::unique_ptr<Item[]> m_items; // filled in place, so a pass over the bytes needs no checks
    qsizetype m_itemCount = 0;
    qsizetype m_itemRoom = 0;
};
