#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QStringDecoder>

/// Reads a UTF-16 text device as UTF-8, chunk by chunk, so the byte-level text parsers also
/// read "Unicode Text" files, which spreadsheet programs write as UTF-16.
class Utf16ToUtf8Device final : public QIODevice {
    Q_OBJECT
public:
    /// `source` is open and positioned after its byte order mark.
    Utf16ToUtf8Device(QIODevice& source, bool bigEndian);
    Q_DISABLE_COPY_MOVE(Utf16ToUtf8Device)

    bool isSequential() const override { return true; }
    bool atEnd() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QIODevice& m_source;
    QStringDecoder m_decoder;
    QByteArray m_pending;
    qsizetype m_pendingPos = 0;
    bool m_sourceDone = false;
};
