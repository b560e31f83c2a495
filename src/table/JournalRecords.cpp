#include "JournalRecords.h"

#include "JournalTags.h"
#include "RecordReader.h"
#include "RowBlock.h"
#include "RowBuilder.h"

namespace {

// Records are built in two passes over the same description, one measuring and one writing,
// so that each record is a single exact allocation: the clear group writes one per row.

int digitsOf(quint64 v) {
    int n = 1;
    while (v >= 10) {
        v /= 10;
        ++n;
    }
    return n;
}

quint64 magnitude(qint64 v) {
    return v < 0 ? quint64(0) - quint64(v) : quint64(v);
}

class Measure {
public:
    void put(char16_t) { ++m_size; }
    void put(QStringView s) { m_size += s.size(); }
    void number(qint64 v) { m_size += (v < 0 ? 1 : 0) + digitsOf(magnitude(v)); }
    void escaped(QStringView s) { m_size += s.size() + s.count(u'|'); }
    qsizetype size() const { return m_size; }

private:
    qsizetype m_size = 0;
};

class Write {
public:
    explicit Write(char16_t* out) : m_out(out) {}
    void put(char16_t c) { *m_out++ = c; }
    void put(QStringView s) {
        std::copy(s.utf16(), s.utf16() + s.size(), m_out);
        m_out += s.size();
    }
    void number(qint64 v) {
        if (v < 0) {
            put(u'-');
        }
        quint64 m = magnitude(v);
        const int n = digitsOf(m);
        for (int i = n - 1; i >= 0; --i) {
            m_out[i] = char16_t(u'0' + m % 10);
            m /= 10;
        }
        m_out += n;
    }
    void escaped(QStringView s) {
        for (const QChar c : s) {
            *m_out++ = c.unicode();
            if (c == u'|') {
                *m_out++ = u'|';
            }
        }
    }

private:
    char16_t* m_out;
};

template <typename Describe> QString build(Describe describe) {
    Measure measure;
    describe(measure);
    QString record(measure.size(), Qt::Uninitialized);
    Write write(reinterpret_cast<char16_t*>(record.data()));
    describe(write);
    return record;
}

template <typename Out> void flagTriple(Out& out, quint8 flags) {
    out.put(flags & RowBlock::BoldFlag ? u'1' : u'0');
    out.put(flags & RowBlock::UnderlinedFlag ? u'1' : u'0');
    out.put(flags & RowBlock::ItalicFlag ? u'1' : u'0');
}

template <typename Out> void cellBody(Out& out, QStringView text, quint8 flags, qint32 color) {
    out.escaped(text);
    out.put(u'|');
    flagTriple(out, flags);
    out.put(u'|');
    out.number(color);
}

template <typename Out>
void part(Out& out, int column, QStringView text, quint8 flags, qint32 color) {
    out.put(u"|#|");
    out.number(column);
    out.put(u'|');
    cellBody(out, text, flags, color);
}

template <typename Out> void numberList(Out& out, std::initializer_list<qint64> numbers) {
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
    return build([&](auto& out) {
        out.put(tag);
        numberList(out, numbers);
    });
}

QString taggedText(QStringView tag, std::initializer_list<qint64> numbers, QStringView text) {
    return build([&](auto& out) {
        out.put(tag);
        numberList(out, numbers);
        out.put(u'|');
        out.put(text);
    });
}

QString removedRow(int row, const RowBlock* block, int columns) {
    const int stored = block ? std::min(block->slotCount(), columns) : 0;
    return build([&](auto& out) {
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
    int withText = 0;
    for (int k = 1; k <= stored; ++k) {
        withText += block->text(k).isEmpty() ? 0 : 1;
    }
    if (!withText) {
        return QString();
    }
    return build([&](auto& out) {
        out.number(row);
        out.put(u'|');
        for (int k = 1; k <= stored; ++k) {
            const QStringView text = block->text(k);
            if (!text.isEmpty()) {
                part(out, k, text, block->flags(k), block->color(k));
            }
        }
    });
}

QString columnCell(const CellRef& cell) {
    if (cell.Text.isEmpty()) {
        return QString();
    }
    return build([&](auto& out) { cellBody(out, cell.Text, RowBlock::flagsOf(cell), cell.Color); });
}

QString columnHead(QStringView tag, int column, QStringView caption, int width) {
    return build([&](auto& out) {
        out.put(tag);
        out.number(column);
        out.put(u'|');
        out.escaped(caption);
        out.put(u'|');
        out.number(width);
    });
}

bool readCell(RecordReader& reader, RowBuilder& row, int slot) {
    QString scratch;
    const auto text = reader.escapedText(scratch);
    if (!text) {
        return false;
    }
    const auto flags = reader.flagTriple();
    if (!flags || !reader.skip(u"|")) {
        return false;
    }
    const auto color = reader.number();
    if (!color) {
        return false;
    }
    row.setCell(slot, CellRef{*text, bool(*flags & RowBlock::BoldFlag),
                              bool(*flags & RowBlock::ItalicFlag),
                              bool(*flags & RowBlock::UnderlinedFlag), *color});
    return true;
}

bool readParts(RecordReader& reader, RowBuilder& row) {
    while (!reader.atEnd()) {
        if (!reader.skip(u"|#|")) {
            return false;
        }
        const auto column = reader.number();
        if (!column || *column < 1 || *column > 32 || !reader.skip(u"|")) {
            return false;
        }
        if (!readCell(reader, row, *column)) {
            return false;
        }
    }
    return true;
}

} // namespace JournalRecords
