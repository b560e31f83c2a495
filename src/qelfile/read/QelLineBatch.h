#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <vector>

/// A run of a database file's lines as the thread that reads the file hands them to the thread
/// that fills the table: each line by the role its place in the file gives it, as the file's
/// bytes. Parsing cell lines and decoding texts are left to the other side: reading and
/// splitting the file is the larger half of the work. Lines that can change nothing (empty
/// lines after the password line) are left out. A batch is filled, emptied and filled again,
/// keeping its buffers.
///
/// Batches are filled on one thread while another reads the batch before or after: each gets
/// cache lines of its own, or every line added would pull the other thread's cache line away.
class alignas(64) QelLineBatch final {
public:
    enum class Role : quint8 {
        /// Line 1 of a protected file.
        ProtectedMark,
        /// Line 2 of a protected file, even when empty.
        Password,
        /// A password line too long to keep, which can let no one in.
        OverlongPassword,
        Header,
        RowCount,
        /// A line after the row count, which the side that takes the batch parses as a cell
        /// line (and reads as nothing when it does not parse); its bytes are the whole line.
        Cell,
        /// A line that is not empty but can be read as nothing: a line too long to keep, a
        /// header or row count line too long to keep.
        Unreadable,
    };

    /// One line: its role and `length` bytes of the batch's bytes from `start`. Offsets fit
    /// 32 bits: a batch ends once it holds a few hundred KB, and a line is kept only up to
    /// LineSplitter::MaxLineBytes.
    struct Line {
        Role role;
        quint32 start;
        quint32 length;
    };

    QelLineBatch() = default;
    Q_DISABLE_COPY_MOVE(QelLineBatch)

    /// A line of `role` with the bytes it carries (a password, header, row count or cell line;
    /// none for the others).
    void addLine(Role role, QByteArrayView bytes = {});

    const std::vector<Line>& lines() const { return m_lines; }
    QByteArrayView bytes(const Line& line) const {
        return QByteArrayView(m_bytes.data() + line.start, line.length);
    }

    /// The memory the batch's content takes, in bytes.
    qsizetype weight() const { return qsizetype(m_lines.size() * sizeof(Line)) + m_bytesUsed; }
    /// Forgets the lines for the next run. Buffers that one very long line made grow far beyond
    /// `keptBytes` are released, so such a line does not keep its memory for the whole file.
    void clear(qsizetype keptBytes);

private:
    std::vector<Line> m_lines;
    // The lines' bytes, one after the other; only the first m_bytesUsed are in use, so a reused
    // batch copies into memory it already has.
    std::vector<char> m_bytes;
    qsizetype m_bytesUsed = 0;
};
