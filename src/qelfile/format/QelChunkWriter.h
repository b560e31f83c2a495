#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

class QIODevice;

/// The bytes of a database file on their way to the disk: collected in memory and written a
/// chunk at a time, scrambled chunk by chunk when asked, so the plain form of a stored file
/// never reaches the device and at most one chunk (plus the line that filled it) is held.
class QelChunkWriter final {
public:
    QelChunkWriter(QIODevice& device, bool scrambled);
    Q_DISABLE_COPY_MOVE(QelChunkWriter)

    /// Room for `bytes` more bytes: the caller writes at most that many at the returned
    /// position and hands the end of what it wrote to commit().
    char* reserve(qsizetype bytes);
    void commit(const char* end) { m_used = end - m_buffer.constData(); }
    void append(QByteArrayView bytes);
    /// Bytes collected and not yet written out.
    qsizetype pending() const { return m_used; }
    /// Writes out every full chunk collected so far.
    bool flushFullChunks();
    /// Writes out the rest. The length of the file is known only now, and with it whether its
    /// last byte belongs to the chunk before it.
    bool finish();

    bool failed() const { return m_failed; }
    /// The device's reason for the first failed write.
    QString errorString() const { return m_error; }

private:
    bool write(char* data, qint64 size, qint64 firstPosition);

    QIODevice& m_device;
    bool m_scrambled;
    // Its size is the room available; m_used bytes of it hold the file's next bytes.
    QByteArray m_buffer;
    qsizetype m_used = 0;
    qint64 m_chunksWritten = 0;
    bool m_failed = false;
    QString m_error;
};
