#include "table/JournalRecords.h"

#include "table/CharRuns.h"

#include "table/JournalTags.h"
#include "table/RecordChunks.h"
#include "table/RowBlock.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

// Everything below is inlined into the per-row writers, which run once per row of a clear.
//
// The records of a group are written straight into the group's shared blocks, with room for
// the worst case (every character of a text doubled, every number at its longest). A removed
// row's record is measured first and written into a QString of its exact size; the other single
// records are written into a scratch buffer sized for the worst case and copied.

constexpr qsizetype NumberBound = 11; // "-2147483648"

// "00" to "99".
constexpr auto DigitPairs = [] {
    std::array<std::array<char16_t, 2>, 100> pairs{};
    for (int k = 0; k < 100; ++k) {
        pairs[size_t(k)] = {char16_t(u'0' + k / 10), char16_t(u'0' + k % 10)};
    }
    return pairs;
}();

[[gnu::always_inline]] inline qsizetype digitCount(quint64 m) {
    qsizetype n = 1;
    for (; m >= 10000; m /= 10000) {
        n += 4;
    }
    return n + (m >= 10) + (m >= 100) + (m >= 1000);
}

// A fixed run of a record: units to be stored as one word, and how many of them count.
struct Piece {
    char16_t units[8] = {};
    qsizetype length = 0;
};
// What a Piece may write beyond the record's end.
constexpr qsizetype PieceSlack = 8;

// "|#|" + column + "|", for the columns 1..32.
constexpr auto ColumnHeads = [] {
    std::array<Piece, 33> heads{};
    for (int k = 1; k <= 32; ++k) {
        Piece& head = heads[size_t(k)];
        for (const char16_t c : {u'|', u'#', u'|'}) {
            head.units[head.length++] = c;
        }
        if (k >= 10) {
            head.units[head.length++] = char16_t(u'0' + k / 10);
        }
        head.units[head.length++] = char16_t(u'0' + k % 10);
        head.units[head.length++] = u'|';
    }
    return heads;
}();

// "|" + the flags of the flag bits + "|", then "0" for the colour at index flags + 8.
constexpr auto FlagPieces = [] {
    std::array<Piece, 16> pieces{};
    for (int k = 0; k < 16; ++k) {
        Piece& piece = pieces[size_t(k)];
        const int flags = k & 7;
        piece.units[0] = u'|';
        piece.units[1] = flags & RowBlock::BoldFlag ? u'1' : u'0';
        piece.units[2] = flags & RowBlock::UnderlinedFlag ? u'1' : u'0';
        piece.units[3] = flags & RowBlock::ItalicFlag ? u'1' : u'0';
        piece.units[4] = u'|';
        piece.length = 5;
        if (k >= 8) {
            piece.units[piece.length++] = u'0';
        }
    }
    return pieces;
}();

class Write {
public:
    explicit Write(char16_t* out) : m_start(out), m_out(out) {}
    qsizetype written() const { return m_out - m_start; }
    void rewind() { m_out = m_start; }

    void put(char16_t c) { *m_out++ = c; }
    /// A piece of up to eight units, stored as one word: the units after it are written over
    /// later or lie beyond the record.
    void put(const Piece& piece) {
        std::memcpy(m_out, piece.units, sizeof piece.units);
        m_out += piece.length;
    }
    void put(QStringView s) {
        CharRuns::copy(m_out, reinterpret_cast<const char16_t*>(s.utf16()), s.size());
        m_out += s.size();
    }
    void number(qint64 v) {
        if (v >= 0 && v < 10) {
            *m_out++ = char16_t(u'0' + v);
            return;
        }
        if (v < 0) {
            put(u'-');
        }
        quint64 m = v < 0 ? quint64(0) - quint64(v) : quint64(v);
        // Written from the last digit back, two digits a step: a row number has up to ten.
        const qsizetype length = digitCount(m);
        char16_t* out = m_out + length;
        while (m >= 100) {
            out -= 2;
            std::memcpy(out, DigitPairs[m % 100].data(), sizeof(DigitPairs[0]));
            m /= 100;
        }
        if (m >= 10) {
            out -= 2;
            std::memcpy(out, DigitPairs[m].data(), sizeof(DigitPairs[0]));
        } else {
            *--out = char16_t(u'0' + m);
        }
        m_out += length;
    }
    void escaped(QStringView s) {
        const auto* p = reinterpret_cast<const char16_t*>(s.utf16());
        if (CharRuns::find(p, p + s.size(), u'|') == p + s.size()) {
            put(s);
            return;
        }
        for (qsizetype i = 0; i < s.size(); ++i) {
            *m_out++ = p[i];
            if (p[i] == u'|') {
                *m_out++ = u'|';
            }
        }
    }

private:
    char16_t* m_start;
    char16_t* m_out;
};

template <typename Describe> QString build(qsizetype bound, Describe describe) {
    thread_local std::vector<char16_t> buffer(1024);
    if (qsizetype(buffer.size()) < bound) {
        buffer.resize(size_t(bound));
    }
    Write out(buffer.data());
    describe(out);
    if (out.written() == 0) {
        return QString();
    }
    return QString(reinterpret_cast<const QChar*>(buffer.data()), out.written());
}

template <typename Describe>
[[gnu::always_inline]] inline QString buildShared(RecordChunks& chunks, qsizetype bound,
                                                  Describe describe) {
    return chunks.make(bound, [&](char16_t* text) {
        Write out(text);
        describe(out);
        return out.written();
    });
}

template <typename Describe> QString buildExact(qsizetype length, Describe describe) {
    QString record(length, Qt::Uninitialized);
    Write out(reinterpret_cast<char16_t*>(record.data()));
    describe(out);
    Q_ASSERT(out.written() == length);
    return record;
}

[[gnu::always_inline]] inline qsizetype numberLength(qint64 v) {
    quint64 m = v < 0 ? quint64(0) - quint64(v) : quint64(v);
    qsizetype n = v < 0 ? 2 : 1;
    while (m >= 10) {
        m /= 10;
        ++n;
    }
    return n;
}

[[gnu::always_inline]] inline qsizetype escapedLength(QStringView s) {
    const auto* p = reinterpret_cast<const char16_t*>(s.utf16());
    const auto* end = p + s.size();
    qsizetype n = s.size();
    for (p = CharRuns::find(p, end, u'|'); p != end; p = CharRuns::find(p + 1, end, u'|')) {
        ++n;
    }
    return n;
}

// text + "|" + flags + "|" + colour
[[gnu::always_inline]] inline qsizetype cellBodyLength(QStringView text, qint32 color) {
    return escapedLength(text) + 1 + 3 + 1 + numberLength(color);
}

// "|#|" + column + "|" + cell body
[[gnu::always_inline]] inline qsizetype partLength(int column, QStringView text, qint32 color) {
    return 3 + numberLength(column) + 1 + cellBodyLength(text, color);
}

[[gnu::always_inline]] inline void flagTriple(Write& out, quint8 flags) {
    out.put(flags & RowBlock::BoldFlag ? u'1' : u'0');
    out.put(flags & RowBlock::UnderlinedFlag ? u'1' : u'0');
    out.put(flags & RowBlock::ItalicFlag ? u'1' : u'0');
}

[[gnu::always_inline]] inline void cellBody(Write& out, QStringView text, quint8 flags,
                                            qint32 color) {
    out.escaped(text);
    out.put(u'|');
    flagTriple(out, flags);
    out.put(u'|');
    out.number(color);
}

[[gnu::always_inline]] inline void part(Write& out, int column, QStringView text, quint8 flags,
                                        qint32 color) {
    out.put(u"|#|");
    out.number(column);
    out.put(u'|');
    cellBody(out, text, flags, color);
}

void numberList(Write& out, std::initializer_list<qint64> numbers) {
    bool first = true;
    for (const qint64 n : numbers) {
        if (!first) {
            out.put(u'|');
        }
        out.number(n);
        first = false;
    }
}

} // namespace

namespace JournalRecords {

QString tagged(QStringView tag, std::initializer_list<qint64> numbers) {
    return build(tag.size() + qsizetype(numbers.size()) * (NumberBound + 1), [&](Write& out) {
        out.put(tag);
        numberList(out, numbers);
    });
}

QString taggedText(QStringView tag, std::initializer_list<qint64> numbers, QStringView text) {
    const qsizetype bound =
        tag.size() + qsizetype(numbers.size()) * (NumberBound + 1) + 1 + text.size();
    return build(bound, [&](Write& out) {
        out.put(tag);
        numberList(out, numbers);
        out.put(u'|');
        out.put(text);
    });
}

QString removedRow(int row, const RowBlock* block, int columns) {
    const int stored = block ? std::min(block->slotCount(), columns) : 0;
    qsizetype length = JournalTags::Length + numberLength(row) + 1;
    for (int k = 1; k <= columns; ++k) {
        length += k <= stored ? partLength(k, block->text(k), block->color(k))
                              : partLength(k, QStringView(), 0);
    }
    return buildExact(length, [&](Write& out) {
        out.put(JournalTags::RemoveRow);
        out.number(row);
        out.put(u'|');
        for (int k = 1; k <= stored; ++k) {
            part(out, k, block->text(k), block->flags(k), block->color(k));
        }
        for (int k = stored + 1; k <= columns; ++k) {
            part(out, k, QStringView(), 0, 0);
        }
    });
}

QString clearedRow(RecordChunks& chunks, int row, const RowBlock* block, int columns) {
    const int stored = block ? std::min(block->slotCount(), columns) : 0;
    if (stored == 0) {
        return QString();
    }
    // Written once, each text scanned for "|" once: measuring every field first would cost
    // more than the room left over.
    const qsizetype texts = block->textLength(stored);
    constexpr qsizetype PartBound = 3 + 2 + 1 + 1 + 3 + 1 + NumberBound;
    const qsizetype bound = NumberBound + 1 + stored * PartBound + 2 * texts + PieceSlack;
    return buildShared(chunks, bound, [&](Write& out) {
        out.number(row);
        out.put(u'|');
        const qsizetype head = out.written();
        const auto* all = reinterpret_cast<const char16_t*>(block->text(1).utf16());
        if (CharRuns::find(all, all + texts, u'|') != all + texts) {
            for (int k = 1; k <= stored; ++k) {
                const QStringView text = block->text(k);
                if (!text.isEmpty()) {
                    part(out, k, text, block->flags(k), block->color(k));
                }
            }
        } else {
            // No text of the row holds a "|": none needs escaping, and the fixed runs around
            // each text go out as whole words.
            const quint32* ends = block->ends();
            const qint32* colors = block->colors();
            const quint8* flags = block->flagBytes();
            quint32 begin = 0;
            for (int k = 0; k < stored; ++k) {
                const quint32 end = ends[k];
                if (end == begin) {
                    continue;
                }
                out.put(ColumnHeads[size_t(k + 1)]);
                out.put(QStringView(all + begin, qsizetype(end - begin)));
                begin = end;
                const qint32 color = colors[k];
                out.put(FlagPieces[size_t(flags[k] & 7) + (color == 0 ? 8 : 0)]);
                if (color != 0) {
                    out.number(color);
                }
            }
        }
        if (out.written() == head) {
            out.rewind(); // no column with text: the empty record
        }
    });
}

QString columnCell(RecordChunks& chunks, const CellRef& cell) {
    if (cell.Text.isEmpty()) {
        return QString();
    }
    constexpr qsizetype BodyBound = 1 + 3 + 1 + NumberBound;
    return buildShared(chunks, 2 * cell.Text.size() + BodyBound, [&](Write& out) {
        cellBody(out, cell.Text, RowBlock::flagsOf(cell), cell.Color);
    });
}

QString columnHead(QStringView tag, int column, QStringView caption, int width) {
    const qsizetype bound = tag.size() + 2 * NumberBound + 2 + 2 * caption.size();
    return build(bound, [&](Write& out) {
        out.put(tag);
        out.number(column);
        out.put(u'|');
        out.escaped(caption);
        out.put(u'|');
        out.number(width);
    });
}

} // namespace JournalRecords
