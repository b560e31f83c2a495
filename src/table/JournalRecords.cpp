#include "table/JournalRecords.h"

#include "table/CharRuns.h"

#include "table/JournalTags.h"
#include "table/RowBlock.h"

#include <algorithm>
#include <vector>

namespace {

// Everything below is inlined into the per-row writers, which run once per row of a clear.
//
// The records of the column group and of a removed row are measured first and written straight
// into a QString of their exact size. The others, the clear group's rows among them, are written
// into a scratch buffer sized for the worst case (every character of a text doubled, every
// number at its longest) and copied.

constexpr qsizetype NumberBound = 11; // "-2147483648"

class Write {
public:
    explicit Write(char16_t* out) : m_start(out), m_out(out) {}
    qsizetype written() const { return m_out - m_start; }
    void rewind() { m_out = m_start; }

    void put(char16_t c) { *m_out++ = c; }
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
        char16_t digits[20];
        int n = 0;
        do {
            digits[n++] = char16_t(u'0' + m % 10);
            m /= 10;
        } while (m);
        while (n) {
            *m_out++ = digits[--n];
        }
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

QString clearedRow(int row, const RowBlock* block, int columns) {
    const int stored = block ? std::min(block->slotCount(), columns) : 0;
    if (stored == 0) {
        return QString();
    }
    // Written once into the scratch buffer, each text scanned for "|" once, then copied into a
    // record of its exact size: measuring every field first cost more than the copy.
    const qsizetype texts = block->textLength(stored);
    constexpr qsizetype PartBound = 3 + 2 + 1 + 1 + 3 + 1 + NumberBound;
    return build(NumberBound + 1 + stored * PartBound + 2 * texts, [&](Write& out) {
        out.number(row);
        out.put(u'|');
        const qsizetype head = out.written();
        for (int k = 1; k <= stored; ++k) {
            const QStringView text = block->text(k);
            if (!text.isEmpty()) {
                part(out, k, text, block->flags(k), block->color(k));
            }
        }
        if (out.written() == head) {
            out.rewind(); // no column with text: the empty record
        }
    });
}

QString columnCell(const CellRef& cell) {
    if (cell.Text.isEmpty()) {
        return QString();
    }
    return buildExact(cellBodyLength(cell.Text, cell.Color), [&](Write& out) {
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
