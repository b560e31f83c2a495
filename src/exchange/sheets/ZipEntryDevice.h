#pragma once

#include <QIODevice>
#include <QtGlobal>

struct zip;
struct zip_file;

/// One entry of a zip archive as a sequential stream, decompressed as it is read. A budget
/// bounds how much more it delivers, so a reader can stop a part that inflates without end.
class ZipEntryDevice final : public QIODevice {
    Q_OBJECT
public:
    /// Takes over `file`, an entry opened with libzip, and `archive`, when given, the handle
    /// it was opened through, closed after it.
    explicit ZipEntryDevice(zip_file* file, zip* archive = nullptr);
    ~ZipEntryDevice() override;
    Q_DISABLE_COPY_MOVE(ZipEntryDevice)

    /// From now on, the stream ends after at most `bytes` more bytes.
    void setBudget(qint64 bytes);

    bool isSequential() const override { return true; }
    bool atEnd() const override { return m_finished; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    zip_file* m_file;
    zip* m_archive;
    qint64 m_delivered = 0;
    qint64 m_limit;
    bool m_finished = false;
};
