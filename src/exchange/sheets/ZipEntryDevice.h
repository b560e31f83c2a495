#pragma once

#include <QIODevice>
#include <QtGlobal>

#include <memory>

class ZipInflater;
struct zip;
struct zip_file;

/// One entry of a zip archive as a sequential stream, decompressed as it is read. A budget
/// bounds how much more it delivers, so a reader can stop a part that inflates without end.
class ZipEntryDevice final : public QIODevice {
    Q_OBJECT
public:
    /// Entry `index` of `archive` as a stream, or nullptr when libzip cannot read it
    /// (encrypted, an unknown compression). With `ownsArchive` the archive is the stream's:
    /// closed after the entry, or at once when there is no stream.
    static std::unique_ptr<ZipEntryDevice> open(zip* archive, quint64 index,
                                                bool ownsArchive = false);
    ~ZipEntryDevice() override;
    Q_DISABLE_COPY_MOVE(ZipEntryDevice)

    /// From now on, the stream ends after at most `bytes` more bytes.
    void setBudget(qint64 bytes);

    /// Whether the stream ended at damage in the entry rather than at its end or budget.
    bool damaged() const { return m_damaged; }
    /// Whether the entry is inflated and checked here rather than by libzip (a deflated,
    /// unencrypted entry whose size and checksum the directory gives).
    bool inflatesItself() const { return m_inflater != nullptr; }

    bool isSequential() const override { return true; }
    bool atEnd() const override { return m_finished; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    ZipEntryDevice(zip_file* file, std::unique_ptr<ZipInflater> inflater, zip* archive);

    zip_file* m_file;                        // raw when inflated here
    std::unique_ptr<ZipInflater> m_inflater; // reads m_file
    zip* m_archive;
    qint64 m_delivered = 0;
    qint64 m_limit;
    bool m_finished = false;
    bool m_damaged = false;
};
