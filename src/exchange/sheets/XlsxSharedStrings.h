#pragma once

#include "exchange/sheets/ReadAheadStream.h"

#include <QIODevice>
#include <QString>
#include <QStringView>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class XlsxXmlScanner;

/// The shared-string table of an .xlsx workbook, read only as far as the cells read so far
/// refer to it, so a large workbook's table is not held whole for its first rows. A thread of
/// its own inflates and scans the part (XlsxXmlScanner) a few blocks of strings ahead of the
/// cells that ask for them; it has ended once the table is destroyed.
class XlsxSharedStrings final {
public:
    /// The most text the table holds. Its strings are kept from the first one on, and a small
    /// package can inflate into gigabytes of them; no workbook's first rows need strings that
    /// lie this far in, so the table is not followed further.
    static constexpr qsizetype MaxHeldText = 128 * 1024 * 1024;

    /// Reads from `part`; nullptr for a workbook without a table. Once `maxHeldText`
    /// characters are held, later strings read as empty. With ReadAheadStream::Reading::OnDemand
    /// the part is read on the calling thread, as its strings are asked for.
    explicit XlsxSharedStrings(std::unique_ptr<QIODevice> part, qsizetype maxHeldText = MaxHeldText,
                               ReadAheadStream::Reading reading = ReadAheadStream::Reading::Ahead);
    ~XlsxSharedStrings();
    Q_DISABLE_COPY_MOVE(XlsxSharedStrings)

    /// The string at `index` (from 0), empty when the table has none there. Valid until the
    /// next call. What reading the part threw (memory running out) is thrown here.
    QStringView at(qsizetype index);
    /// The memory the strings read so far take: their characters and where each one ends.
    qint64 heldBytes() const { return 2 * qint64(m_text.size()) + 8 * qint64(m_ends.size()); }

    /// Reads one string item (<si> or <is>: a plain <t>, or rich-text runs whose <t> texts are
    /// joined, phonetic runs left out) from just after its start tag through its end tag, and
    /// appends it to `text` with its escapes decoded, cut to the longest text a cell holds.
    /// `bytes` is room for the raw text. False, with nothing appended, when the part ends
    /// inside the item.
    static bool readStringItem(XlsxXmlScanner& xml, std::string& bytes, QString& text);
    /// Appends the raw UTF-8 text of a string item to `text` as readStringItem() does.
    static void appendItemText(QString& text, std::string_view bytes);

private:
    /// Strings read in one go, handed from the reading thread to the table.
    struct Block {
        QString text;
        std::vector<qsizetype> ends; // where each string ends in `text`
        bool last = false;           // no string follows
    };

    void run() noexcept;
    // Reads strings into `block` until it is full or the part ends.
    void fill(Block& block);
    // Reads the items that are one plain <t> of ASCII without escapes, as many as follow one
    // another in the bytes at hand and fit the block, in one pass.
    void takePlainItems(Block& block);
    // Reads the next string into `text`; false at the end of the table.
    bool readItem(QString& text);
    // Takes the next block into the table; false when none follows.
    bool take();
    // Throws what the reading thread threw, if it did.
    void throwFailure();

    // The reading side; only the reading thread touches it once that runs.
    std::unique_ptr<XlsxXmlScanner> m_xml;
    std::string m_bytes;
    qsizetype m_itemsRead = 0;
    qsizetype m_textRead = 0;
    bool m_tableEnded = false;

    // The hand-over.
    std::mutex m_mutex;
    std::condition_variable m_filled;
    std::condition_variable m_taken;
    std::deque<Block> m_blocks;
    std::vector<Block> m_spare; // blocks taken, to be filled again
    bool m_ended = false;
    bool m_readerWaits = false;
    bool m_takerWaits = false;
    std::atomic<bool> m_stopping = false;
    std::exception_ptr m_failure;
    bool m_threaded = false;

    // The table.
    QString m_text;                // every string taken so far, one after the other
    std::vector<qsizetype> m_ends; // where each one ends in m_text
    qsizetype m_maxHeldText;
    bool m_done = false;

    std::thread m_thread; // started last, when everything above is ready
};
