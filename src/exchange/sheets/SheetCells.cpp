#include "exchange/sheets/SheetCells.h"

#include "exchange/ExcelAddress.h"
#include "exchange/ImportBudget.h"
#include "exchange/sheets/AsciiRuns.h"
#include "table/CharRuns.h"

struct SheetCells::Row {
    // The texts one after the other; a buffer of its own, as growing it is on the hot path.
    std::unique_ptr<char16_t[]> text;
    qsizetype used = 0;
    qsizetype capacity = 0;
    std::array<quint32, ExcelAddress::MaxColumns> start{};
    std::array<quint32, ExcelAddress::MaxColumns> length{};
    qsizetype liveLength = 0;
};

namespace {
constexpr qint64 kSlotCost = qint64(sizeof(std::unique_ptr<int>));
// Rows dropped while reading forward are kept for the rows read next, up to this many and
// only while their buffers are small: a sheet of short texts then allocates no row after its
// first ones.
constexpr size_t kSpareRows = 256;
constexpr qsizetype kLargestSpareText = 4096;
// Room for a row of short texts, so filling it does not reallocate again and again.
constexpr qsizetype kRowRoom = 512;
} // namespace

SheetCells::SheetCells(ImportBudget* budget) : m_budget(budget) {}

SheetCells::~SheetCells() {
    charge(-m_heldBytes);
}

inline bool SheetCells::charge(qint64 bytes) {
    if (bytes > 0 && m_budget && !m_budget->take(bytes)) {
        return false;
    }
    if (bytes < 0 && m_budget) {
        m_budget->giveBack(-bytes);
    }
    m_heldBytes += bytes;
    return true;
}

qint64 SheetCells::costOf(const Row& row) {
    return qint64(sizeof(Row)) + 2 * qint64(row.used);
}

inline bool SheetCells::inSheet(int rowNumber, int column) {
    return rowNumber >= 1 && rowNumber <= ExcelAddress::MaxSheetRows && column >= 1 &&
           column <= ExcelAddress::MaxColumns;
}

inline SheetCells::Row* SheetCells::row(int number) const {
    if (number < 1 || number > int(m_rows.size())) {
        return nullptr;
    }
    return m_rows[size_t(number - 1)].get();
}

std::unique_ptr<SheetCells::Row> SheetCells::newRow() {
    if (m_spare.empty()) {
        return std::make_unique<Row>();
    }
    std::unique_ptr<Row> row = std::move(m_spare.back());
    m_spare.pop_back();
    return row;
}

void SheetCells::keepSpare(std::unique_ptr<Row> row) {
    if (m_spare.size() >= kSpareRows || row->capacity > kLargestSpareText) {
        return;
    }
    row->used = 0; // keeps the buffer
    row->start.fill(0);
    row->length.fill(0);
    row->liveLength = 0;
    m_spare.push_back(std::move(row));
}

inline bool SheetCells::makeRoom(int rowNumber, int column, qsizetype length, char16_t*& to) {
    // Most texts go to an empty cell of a row that has room for them and no dead text: they
    // are appended, and take just their units of the budget.
    const size_t c = size_t(column - 1);
    Row* const target = row(rowNumber);
    if (target && target->length[c] == 0 && target->used == target->liveLength &&
        length <= target->capacity - target->used) {
        if (!charge(2 * qint64(length))) {
            to = nullptr;
            return false;
        }
        const qsizetype end = target->used;
        target->start[c] = quint32(end);
        target->length[c] = quint32(length);
        target->used = end + length;
        target->liveLength = end + length;
        to = target->text.get() + end;
        return true;
    }
    return makeRoomInGeneral(rowNumber, column, length, to);
}

bool SheetCells::set(int rowNumber, int column, QStringView text) {
    if (!inSheet(rowNumber, column)) {
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
    char16_t* to = nullptr;
    if (!makeRoom(rowNumber, column, text.size(), to)) {
        return false;
    }
    if (to) {
        CharRuns::copy(to, text.utf16(), text.size());
    }
    return true;
}

bool SheetCells::setAscii(int rowNumber, int column, std::string_view ascii) {
    if (!inSheet(rowNumber, column)) {
        return false;
    }
    qsizetype length = qsizetype(ascii.size());
    if (length > MaxTextLength) {
        length = MaxTextLength;
        ++m_cutTexts;
    }
    char16_t* to = nullptr;
    if (!makeRoom(rowNumber, column, length, to)) {
        return false;
    }
    if (to) {
        AsciiRuns::widen(ascii.data(), size_t(length), to);
    }
    return true;
}

bool SheetCells::makeRoomInGeneral(int rowNumber, int column, qsizetype length, char16_t*& to) {
    to = nullptr;
    const size_t c = size_t(column - 1);
    Row* target = row(rowNumber);
    if (!target && length == 0) {
        return true;
    }
    // Texts are appended; an overwritten text stays behind until the dead part outgrows the
    // live one, when the row is packed again. What the row will take is known before it
    // changes, so a refused text leaves it as it was.
    const qsizetype used = target ? target->used : 0;
    const qsizetype live =
        (target ? target->liveLength : 0) + length - (target ? target->length[c] : 0);
    const bool pack = target && used - live > live + 64;
    const qsizetype slotsNeeded = qMax<qsizetype>(qsizetype(m_rows.size()), rowNumber);
    const qint64 growth = 2 * qint64((pack ? live : used + length) - used) +
                          (target ? 0 : qint64(sizeof(Row))) +
                          kSlotCost * (slotsNeeded - qsizetype(m_rows.size()));
    if (!charge(growth)) {
        return false;
    }
    if (!target) {
        // A row below the highest one may be a gap (or a dropped row): the rows above it stay.
        if (size_t(rowNumber) > m_rows.size()) {
            m_rows.resize(size_t(rowNumber));
        }
        m_rows[size_t(rowNumber - 1)] = newRow();
        target = m_rows[size_t(rowNumber - 1)].get();
        reserve(*target, qMax<qsizetype>(length, kRowRoom));
    }
    target->liveLength = live;
    if (pack) {
        auto packed = std::make_unique_for_overwrite<char16_t[]>(size_t(live));
        qsizetype packedUsed = 0;
        for (size_t k = 0; k < target->start.size(); ++k) {
            const qsizetype kept = k == c ? 0 : qsizetype(target->length[k]);
            CharRuns::copy(packed.get() + packedUsed, target->text.get() + target->start[k], kept);
            target->start[k] = quint32(packedUsed);
            target->length[k] = quint32(kept);
            packedUsed += kept;
        }
        target->text = std::move(packed);
        target->used = packedUsed;
        target->capacity = live;
    }
    reserve(*target, target->used + length);
    const qsizetype end = target->used;
    target->start[c] = quint32(end);
    target->length[c] = quint32(length);
    // Written in place by the caller, rather than appended from a copy made elsewhere.
    target->used = end + length;
    to = target->text.get() + end;
    return true;
}

void SheetCells::reserve(Row& row, qsizetype units) {
    if (units <= row.capacity) {
        return;
    }
    const qsizetype capacity = qMax(units, 2 * row.capacity);
    auto larger = std::make_unique_for_overwrite<char16_t[]>(size_t(capacity));
    CharRuns::copy(larger.get(), row.text.get(), row.used);
    row.text = std::move(larger);
    row.capacity = capacity;
}

QStringView SheetCells::at(int rowNumber, int column) const {
    const Row* source = row(rowNumber);
    if (!source || column < 1 || column > ExcelAddress::MaxColumns) {
        return QStringView();
    }
    const size_t c = size_t(column - 1);
    return QStringView(source->text.get() + source->start[c], source->length[c]);
}

SheetCells::RowTexts SheetCells::texts(int rowNumber) const {
    static_assert(std::tuple_size_v<RowTexts> == size_t(ExcelAddress::MaxColumns));
    RowTexts texts;
    if (const Row* source = row(rowNumber)) {
        for (size_t c = 0; c < texts.size(); ++c) {
            texts[c] = QStringView(source->text.get() + source->start[c], source->length[c]);
        }
    }
    return texts;
}

bool SheetCells::rowIsEmpty(int rowNumber) const {
    const Row* source = row(rowNumber);
    return !source || source->liveLength == 0;
}

void SheetCells::dropRowsBefore(int rowNumber) {
    const size_t end = size_t(qBound(0, rowNumber - 1, int(m_rows.size())));
    for (size_t i = m_droppedBefore; i < end; ++i) {
        if (m_rows[i]) {
            charge(-costOf(*m_rows[i]));
            keepSpare(std::move(m_rows[i]));
        }
    }
    m_droppedBefore = qMax(m_droppedBefore, end);
}

void SheetCells::clear() {
    charge(-m_heldBytes);
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
