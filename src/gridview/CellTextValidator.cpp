#include "gridview/CellTextValidator.h"

#include <algorithm>

namespace {

bool isLineBreak(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// Removes CR and LF and keeps the cursor on the same character.
void joinLines(QString& text, int& pos) {
    const int before = int(std::count_if(
        text.cbegin(), text.cbegin() + std::clamp<qsizetype>(pos, 0, text.size()), isLineBreak));
    text.removeIf(isLineBreak);
    pos -= before;
}

} // namespace

CellTextValidator::CellTextValidator(int maxTypedLength, QObject* parent)
    : QValidator(parent), m_maxTypedLength(maxTypedLength) {}

QValidator::State CellTextValidator::validate(QString& input, int& pos) const {
    const qsizetype rawSize = input.size();
    joinLines(input, pos);
    if (m_programEdit) {
        return Acceptable;
    }
    if (input == m_accepted) { // unchanged, or only line breaks were added: nothing to apply
        return input.size() == rawSize ? Acceptable : Invalid;
    }
    if (input.size() <= m_maxTypedLength) {
        return Acceptable;
    }

    // Find the edit as the part between what the old and new text share at both ends.
    const qsizetype oldSize = m_accepted.size();
    const qsizetype newSize = input.size();
    qsizetype prefix = 0;
    while (prefix < oldSize && prefix < newSize && m_accepted.at(prefix) == input.at(prefix)) {
        ++prefix;
    }
    qsizetype suffix = 0;
    while (suffix < oldSize - prefix && suffix < newSize - prefix &&
           m_accepted.at(oldSize - 1 - suffix) == input.at(newSize - 1 - suffix)) {
        ++suffix;
    }
    const qsizetype inserted = newSize - prefix - suffix;
    const qsizetype removed = oldSize - prefix - suffix;
    if (inserted == 0) {
        return Acceptable; // only deleted: a long text from the program may shrink
    }

    const qsizetype room = std::max<qsizetype>(0, m_maxTypedLength - (oldSize - removed));
    qsizetype kept = std::min(inserted, room);
    if (kept > 0 && input.at(prefix + kept - 1).isHighSurrogate()) {
        --kept; // never split a character in two
    }
    if (kept == 0 && removed == 0) {
        return Invalid; // nothing fits: the editor takes the edit back
    }
    input = input.left(prefix + kept) + input.right(suffix);
    pos = int(prefix + kept);
    return Acceptable;
}
