#include "exchange/sheets/SheetCells.h"

#include "exchange/ExcelAddress.h"

struct SheetCells::Row {
    QString text;
    std::array<quint32, ExcelAddress::MaxColumns> start{};
    std::array<quint32, ExcelAddress::MaxColumns> length{};
    qsizetype liveLength = 0;
};

SheetCells::SheetCells() = default;
SheetCells::~SheetCells() = default;

SheetCells::Row* SheetCells::row(int number) const {
    if (number < 1 || number > int(m_rows.size())) {
        return nullptr;
    }
    return m_rows[size_t(number - 1)].get();
}

bool SheetCells::set(int rowNumber, int column, QStringView text) {
    if (rowNumber < 1 || rowNumber > ExcelAddress::MaxSheetRows || column < 1 ||
        column > ExcelAddress::MaxColumns) {
        return false;
    }
    if (text.size() > MaxTextLength) {
        // Never leave half of a surrogate pair at the cut.
        qsizetype cut = MaxTextLength;
        if (text[cut - 1].isHighSurrogate()) {
            --cut;
        }
        text = text.first(cut);
        ++m_cutTexts;
    }
    Row* target = row(rowNumber);
    if (!target) {
        if (text.isEmpty()) {
            return true;
        }
        // A row below the highest one may be a gap (or a dropped row): the rows above it stay.
        if (size_t(rowNumber) > m_rows.size()) {
            m_rows.resize(size_t(rowNumber));
        }
        m_rows[size_t(rowNumber - 1)] = std::make_unique<Row>();
        target = m_rows[size_t(rowNumber - 1)].get();
        // Room for a row of short texts, so filling it does not reallocate again and again.
        target->text.reserve(qMax<qsizetype>(text.size(), 256));
    }
    const size_t c = size_t(column - 1);
    target->liveLength += text.size() - qsizetype(target->length[c]);
    // Texts are appended; an overwritten text stays behind until the dead part outgrows the
    // live one, when the row is packed again.
    if (target->text.size() - target->liveLength > target->liveLength + 64) {
        QString packed;
        packed.reserve(target->liveLength);
        for (size_t k = 0; k < target->start.size(); ++k) {
            const QStringView old =
                QStringView(target->text).sliced(target->start[k], target->length[k]);
            target->start[k] = quint32(packed.size());
            packed.append(k == c ? QStringView() : old);
        }
        target->text = std::move(packed);
    }
    target->start[c] = quint32(target->text.size());
    target->length[c] = quint32(text.size());
    target->text.append(text);
    return true;
}

QStringView SheetCells::at(int rowNumber, int column) const {
    const Row* source = row(rowNumber);
    if (!source || column < 1 || column > ExcelAddress::MaxColumns) {
        return QStringView();
    }
    const size_t c = size_t(column - 1);
    return QStringView(source->text).sliced(source->start[c], source->length[c]);
}

bool SheetCells::rowIsEmpty(int rowNumber) const {
    const Row* source = row(rowNumber);
    return !source || source->liveLength == 0;
}

void SheetCells::dropRowsBefore(int rowNumber) {
    const size_t end = size_t(qBound(0, rowNumber - 1, int(m_rows.size())));
    for (size_t i = m_droppedBefore; i < end; ++i) {
        m_rows[i].reset();
    }
    m_droppedBefore = qMax(m_droppedBefore, end);
}

void SheetCells::clear() {
    m_rows.clear();
    m_droppedBefore = 0;
}

int SheetCells::rowsHeld() const {
    int held = 0;
    for (const std::unique_ptr<Row>& row : m_rows) {
        held += row && row->liveLength > 0 ? 1 : 0;
    }
    return held;
}
