#include "exchange/sheets/DelimitedTextReader.h"

#include "exchange/ExcelAddress.h"
#include "exchange/sheets/ByteReader.h"
#include "exchange/sheets/SheetCells.h"
#include "exchange/sheets/Utf16ToUtf8Device.h"
#include "text/TextEncoding.h"

#include <QIODevice>

#include <array>
#include <vector>

namespace {

constexpr qsizetype kSampleBytes = 64 * 1024;
constexpr int kSampleLines = 20;
// Enough bytes for the longest cell text in any encoding; the rest of a field is skipped.
constexpr qsizetype kMaxFieldBytes = 4 * qsizetype(SheetCells::MaxTextLength);
constexpr std::array<char, 3> kCandidates = {'\t', ';', ','};

} // namespace

DelimitedTextReader::DelimitedTextReader(std::unique_ptr<QIODevice> device)
    : m_source(std::move(device)) {
    QIODevice* text = m_source.get();
    const QByteArray bom = m_source->peek(3);
    if (bom.startsWith("\xEF\xBB\xBF")) {
        m_source->skip(3);
    } else if (bom.startsWith("\xFF\xFE") || bom.startsWith("\xFE\xFF")) {
        m_source->skip(2);
        m_transcoder = std::make_unique<Utf16ToUtf8Device>(*m_source, bom.startsWith("\xFE"));
        text = m_transcoder.get();
    }
    m_input = std::make_unique<ByteReader>(*text);
    m_delimiter = detectDelimiter(m_input->lookAhead(kSampleBytes));
}

DelimitedTextReader::~DelimitedTextReader() = default;

char DelimitedTextReader::detectDelimiter(QByteArrayView sample) {
    // Per candidate, its count on each of the first lines (outside quotes, which may span lines).
    std::array<std::vector<int>, kCandidates.size()> perLine;
    std::array<int, kCandidates.size()> current{};
    bool quoted = false;
    bool lineHasText = false;
    auto endLine = [&] {
        if (lineHasText) {
            for (size_t k = 0; k < kCandidates.size(); ++k) {
                perLine[k].push_back(current[k]);
            }
        }
        current = {};
        lineHasText = false;
    };
    for (qsizetype i = 0; i < sample.size() && int(perLine[0].size()) < kSampleLines; ++i) {
        const char c = sample[i];
        if (c == '"') {
            quoted = !quoted;
        }
        if (quoted) {
            lineHasText = true;
            continue;
        }
        if (c == '\r' || c == '\n') {
            endLine();
            continue;
        }
        lineHasText = true;
        for (size_t k = 0; k < kCandidates.size(); ++k) {
            current[k] += (c == kCandidates[k]) ? 1 : 0;
        }
    }
    if (perLine[0].empty()) {
        endLine(); // a sample without a line end is one line
    }

    // Best: the same count on every line, then on the most lines, then the most often; ties
    // go to the candidate listed first.
    char best = ',';
    std::array<int, 3> bestScore{0, 0, 0};
    for (size_t k = 0; k < kCandidates.size(); ++k) {
        const std::vector<int>& counts = perLine[k];
        int lines = 0;
        int total = 0;
        bool consistent = !counts.empty();
        for (int n : counts) {
            lines += n > 0 ? 1 : 0;
            total += n;
            consistent = consistent && n > 0 && n == counts.front();
        }
        const std::array<int, 3> score{consistent ? 1 : 0, lines, total};
        if (total > 0 && score > bestScore) {
            bestScore = score;
            best = kCandidates[k];
        }
    }
    return best;
}

void DelimitedTextReader::storeField(SheetCells& cells, int row, int column) {
    if (column <= ExcelAddress::MaxColumns && !m_field.isEmpty()) {
        cells.set(row, column, TextEncoding::decodeUtf8OrWindows1250(m_field));
    }
    m_field.clear();
}

int DelimitedTextReader::readNextRow(SheetCells& cells) {
    if (m_done || m_input->peek() == ByteReader::EndOfInput ||
        m_row >= ExcelAddress::MaxSheetRows) {
        m_done = true;
        return 0;
    }
    const int row = ++m_row;
    int column = 1;
    bool quoted = false;
    bool atFieldStart = true;
    auto keep = [&](int c) {
        if (column <= ExcelAddress::MaxColumns && m_field.size() < kMaxFieldBytes) {
            m_field.append(char(c));
        }
    };
    for (;;) {
        const int c = m_input->get();
        if (c == ByteReader::EndOfInput) {
            storeField(cells, row, column);
            m_done = true;
            return row;
        }
        if (quoted) {
            if (c != '"') {
                keep(c);
            } else if (m_input->peek() == '"') {
                m_input->get();
                keep('"');
            } else {
                quoted = false; // what follows the closing quote up to the delimiter is kept
            }
            continue;
        }
        if (c == '"' && atFieldStart) {
            quoted = true;
            atFieldStart = false;
            continue;
        }
        if (c == m_delimiter) {
            storeField(cells, row, column);
            ++column;
            atFieldStart = true;
            continue;
        }
        if (c == '\r' || c == '\n') {
            if (c == '\r' && m_input->peek() == '\n') {
                m_input->get();
            }
            storeField(cells, row, column);
            return row;
        }
        atFieldStart = false;
        keep(c);
    }
}
