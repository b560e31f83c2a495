#pragma once

#include "exchange/sheets/SheetReader.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <memory>

class ByteReader;
class QIODevice;

/// Reads comma-, semicolon- or tab-separated text (.csv, .txt, .prn) as a sheet: one record per
/// row, fields in quotes may hold delimiters, line breaks and doubled quotes. The delimiter is
/// found from the first lines. Text is UTF-8 (with or without a byte order mark), UTF-16 when
/// it starts with a UTF-16 byte order mark, and otherwise Windows-1250, decided field by field.
class DelimitedTextReader final : public SheetReader {
public:
    /// Reads from `device`, open and at its start.
    explicit DelimitedTextReader(std::unique_ptr<QIODevice> device);
    ~DelimitedTextReader() override;
    Q_DISABLE_COPY_MOVE(DelimitedTextReader)

    int readNextRow(SheetCells& cells) override;

    /// The delimiter the first lines of `sample` use most consistently: tab, ';' or ','
    /// (',' when none of them occurs).
    static char detectDelimiter(QByteArrayView sample);

private:
    void storeField(SheetCells& cells, int row, int column);

    std::unique_ptr<QIODevice> m_source;
    std::unique_ptr<QIODevice> m_transcoder;
    std::unique_ptr<ByteReader> m_input;
    QByteArray m_field;
    char m_delimiter = ',';
    int m_row = 0;
    bool m_done = false;
};
