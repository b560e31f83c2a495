#include "table/RecordChunks.h"

#include <atomic>

namespace {

char16_t* startOf(QString& chunk) {
    // The raw pointer: data() would copy a block that records share.
    return chunk.data_ptr().data();
}

QArrayData* headerOf(QString& chunk) {
    return chunk.data_ptr().d_ptr();
}

} // namespace

RecordChunks::~RecordChunks() {
    returnReserve();
}

bool RecordChunks::isUnused(const QString& chunk) noexcept {
    if (!chunk.isDetached()) {
        return false;
    }
    // A record dropped on another thread has finished reading the block before it is written
    // again.
    std::atomic_thread_fence(std::memory_order_acquire);
    return true;
}

void RecordChunks::returnReserve() noexcept {
    if (m_next) {
        headerOf(m_chunks[m_current])->ref_.fetchAndSubOrdered(int(m_reserve));
        m_reserve = 0;
    }
}

void RecordChunks::advance() {
    returnReserve();
    // Blocks are reused in turn from the one after the current, so a group's records keep the
    // order they were made in, which is the order undo reads them back.
    const size_t count = m_chunks.size();
    size_t found = count;
    for (size_t step = 1; step <= count && found == count; ++step) {
        const size_t k = (m_current + step) % count;
        if (isUnused(m_chunks[k])) {
            found = k;
        }
    }
    if (found == count) {
        m_next = m_end = nullptr; // should the block not come
        m_chunks.emplace_back(ChunkUnits, Qt::Uninitialized);
    }
    m_current = found;
    ++m_groupChunks;
    m_next = startOf(m_chunks[found]);
    m_end = m_next + ChunkUnits;
    // A reference for every record the block could hold, taken in advance so that making a
    // record costs no atomic operation; what is left goes back when the block is done with.
    m_reserve = MaxRecords;
    headerOf(m_chunks[found])->ref_.fetchAndAddOrdered(int(m_reserve));
}

QString RecordChunks::share(char16_t* text, qsizetype length) {
    Q_ASSERT(m_reserve > 0);
    --m_reserve;
    return QString(QStringPrivate(
        static_cast<QTypedArrayData<char16_t>*>(headerOf(m_chunks[m_current])), text, length));
}

void RecordChunks::beginGroup() {
    m_groupChunks = m_next ? 1 : 0;
}

void RecordChunks::endGroup() noexcept {
    releaseUnusedBeyond(m_groupChunks);
}

void RecordChunks::releaseUnused() noexcept {
    releaseUnusedBeyond(0);
}

void RecordChunks::releaseUnusedBeyond(qsizetype kept) noexcept {
    // The block being written holds its reserve, so it is never taken for unused here.
    const char16_t* current = m_next ? startOf(m_chunks[m_current]) : nullptr;
    qsizetype unused = 0;
    std::erase_if(m_chunks,
                  [&](const QString& chunk) { return isUnused(chunk) && ++unused > kept; });
    for (size_t k = 0; k < m_chunks.size(); ++k) {
        if (startOf(m_chunks[k]) == current) {
            m_current = k;
        }
    }
}
