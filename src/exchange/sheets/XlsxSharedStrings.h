#pragma once

#include <QIODevice>
#include <QString>
#include <QStringView>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class XlsxXmlScanner;

/// The shared-string table of an .xlsx workbook, read only as far as the cells read so far
/// refer to it, so a large workbook's table is not held whole for its first rows. The part is
/// inflated on a thread of its own while it is read (XlsxXmlScanner).
class XlsxSharedStrings final {
public:
    /// The most text the table holds. Its strings are kept from the first one on, and a small
    /// package can inflate into gigabytes of them; no workbook's first rows need strings that
    /// lie this far in, so the table is not followed further.
    static constexpr qsizetype MaxHeldText = 128 * 1024 * 1024;

    /// Reads from `part`; nullptr for a workbook without a table. Once `maxHeldText`
    /// characters are held, later strings read as empty.
    explicit XlsxSharedStrings(std::unique_ptr<QIODevice> part,
                               qsizetype maxHeldText = MaxHeldText);
    ~XlsxSharedStrings();
    Q_DISABLE_COPY_MOVE(XlsxSharedStrings)

    /// The string at `index` (from 0), empty when the table has none there. Valid until the
    /// next call.
    QStringView at(qsizetype index);

    /// Reads one string item (<si> or <is>: a plain <t>, or rich-text runs whose <t> texts are
    /// joined, phonetic runs left out) from just after its start tag through its end tag, and
    /// appends it to `text` with its escapes decoded, cut to the longest text a cell holds.
    /// `bytes` is room for the raw text. False, with nothing appended, when the part ends
    /// inside the item.
    static bool readStringItem(XlsxXmlScanner& xml, std::string& bytes, QString& text);
    /// Appends the raw UTF-8 text of a string item to `text` as readStringItem() does.
    static void appendItemText(QString& text, std::string_view bytes);

private:
    bool readNext();

    std::unique_ptr<XlsxXmlScanner> m_xml; // nullptr without a table
    std::string m_bytes;
    QString m_text;                // every string read so far, one after the other
    std::vector<qsizetype> m_ends; // where each one ends in m_text
    qsizetype m_maxHeldText;
    bool m_done = false;
};
