#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

/// The texts of a table's journal records written one after the other into a few large blocks
/// that the records share, the way a group of records is made (a row per record of a clear, a
/// cell per record of a column removal): a group costs a handful of allocations instead of one
/// per record. Each record is an ordinary QString that holds a reference to its block, so it
/// can be copied, changed (which copies it out) and outlive the table. A block to which no
/// record refers any more is kept for the next group, so undoing and redoing a big group does
/// not hand the records' memory back to the system only to fault it in again.
class RecordChunks final {
public:
    /// The room of a block, in UTF-16 units.
    static constexpr qsizetype ChunkUnits = qsizetype(1) << 19;
    /// A record that may take more than this gets a string of its own.
    static constexpr qsizetype MaxSharedUnits = ChunkUnits / 16;

    RecordChunks() = default;
    ~RecordChunks();
    Q_DISABLE_COPY_MOVE(RecordChunks)

    /// A record of at most `bound` units, written by `write(char16_t* out)`, which returns how
    /// many units it wrote; a null string when that is none.
    template <typename Write> [[nodiscard]] QString make(qsizetype bound, Write write);

    /// Starts a group of records.
    void beginGroup();
    /// Ends it: of the blocks that no record uses, as many are kept as the group took, since
    /// the next group is most often this one again (redone, or made anew after an undo).
    void endGroup() noexcept;
    /// Gives back every block that no record uses: the journal is empty.
    void releaseUnused() noexcept;

    /// Blocks held, in use or kept.
    [[nodiscard]] qsizetype chunkCount() const { return qsizetype(m_chunks.size()); }

private:
    // The most records a block can hold: each takes at least one unit and its terminator.
    static constexpr qsizetype MaxRecords = ChunkUnits / 2;

    /// Moves m_next to the start of a block that no record uses any more, or of a new one.
    void advance();
    /// A record of the block being written.
    [[nodiscard]] QString share(char16_t* text, qsizetype length);
    void returnReserve() noexcept;
    [[nodiscard]] static bool isUnused(const QString& chunk) noexcept;
    void releaseUnusedBeyond(qsizetype kept) noexcept;

    // The blocks, each a string of ChunkUnits units that the records' strings share.
    std::vector<QString> m_chunks;
    size_t m_current = 0;
    // The free room of the block being written, none before the first.
    char16_t* m_next = nullptr;
    char16_t* m_end = nullptr;
    // References the block being written holds for records not made yet.
    qsizetype m_reserve = 0;
    qsizetype m_groupChunks = 0;
};

template <typename Write> QString RecordChunks::make(qsizetype bound, Write write) {
    if (bound > MaxSharedUnits) {
        QString own(bound, Qt::Uninitialized);
        const qsizetype length = write(reinterpret_cast<char16_t*>(own.data()));
        if (length == 0) {
            return QString();
        }
        own.truncate(length);
        own.squeeze();
        return own;
    }
    // One unit more for the terminating zero every QString carries.
    if (m_end - m_next <= bound) {
        advance();
    }
    char16_t* const text = m_next;
    const qsizetype length = write(text);
    if (length == 0) {
        return QString();
    }
    text[length] = u'\0';
    m_next = text + length + 1;
    return share(text, length);
}
