#include "table/RowArena.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>
#include <utility>

static_assert(sizeof(void*) <= RowArena::Granule, "a free block holds its successor");
static_assert(RowArena::SlabBytes % RowArena::Granule == 0);

namespace {

// Slabs that tables gave up, for the next table of the process (a new window, the next file
// opened into one) to take instead of faulting fresh memory in. Their pages are handed to the
// system lazily: it takes them back only when it runs short of memory, and until then a slab
// taken from here is used without a single fault.
class SlabReserve final {
public:
    static SlabReserve& instance() {
        // Never destroyed: tables that live until the process ends give their slabs back here.
        static auto* reserve = new SlabReserve;
        return *reserve;
    }

    char* take() {
        const std::lock_guard lock(m_mutex);
        if (m_slabs.empty()) {
            return nullptr;
        }
        char* slab = m_slabs.back();
        m_slabs.pop_back();
        return slab;
    }

    /// False when the reserve is full: the caller unmaps the slab.
    bool keep(char* slab) noexcept {
        const std::lock_guard lock(m_mutex);
        if (m_slabs.size() >= MaxSlabs || madvise(slab, size_t(RowArena::SlabBytes), MADV_FREE)) {
            return false;
        }
        m_slabs.push_back(slab);
        return true;
    }

private:
    SlabReserve() { m_slabs.reserve(MaxSlabs); }

    // 512 MiB, the rows of some two million short rows.
    static constexpr size_t MaxSlabs = 256;
    std::mutex m_mutex;
    std::vector<char*> m_slabs;
};

} // namespace

RowArena::~RowArena() {
    releaseHeapBlocks();
    for (char* slab : m_slabs) {
        giveUpSlab(slab);
    }
}

void* RowArena::allocate(qsizetype bytes) {
    if (bytes > MaxSlabBlock) {
        return allocateOnHeap(bytes);
    }
    FreeBlock*& head = m_free[size_t(classOf(bytes))];
    if (FreeBlock* block = head) {
        head = block->next;
        return block;
    }
    return carve(classOf(bytes) * Granule);
}

void RowArena::release(void* block, qsizetype bytes) noexcept {
    if (!block) {
        return;
    }
    if (bytes > MaxSlabBlock) {
        releaseOnHeap(block);
        return;
    }
    FreeBlock*& head = m_free[size_t(classOf(bytes))];
    head = new (block) FreeBlock{head};
}

void RowArena::releaseAll() noexcept {
    releaseHeapBlocks();
    m_free.fill(nullptr);
    // The slab being carved and those before it served this round; the rest were not needed.
    const size_t reached = std::min(m_slab + 1, m_slabs.size());
    for (size_t k = reached; k < m_slabs.size(); ++k) {
        giveUpSlab(m_slabs[k]);
    }
    m_slabs.resize(reached);
    m_slab = 0;
    m_next = m_slabs.empty() ? nullptr : m_slabs.front();
    m_end = m_slabs.empty() ? nullptr : m_slabs.front() + SlabBytes;
}

void RowArena::adopt(RowArena& other) {
    const size_t theirs = other.m_slabs.size();
    // The only step that can fail comes first, so a failure leaves both arenas as they were.
    m_slabs.reserve(m_slabs.size() + theirs);
    for (size_t k = 0; k < m_free.size(); ++k) {
        if (FreeBlock* head = std::exchange(other.m_free[k], nullptr)) {
            FreeBlock* tail = head;
            while (tail->next) {
                tail = tail->next;
            }
            tail->next = m_free[k];
            m_free[k] = head;
        }
    }
    if (other.m_heap.next != &other.m_heap) {
        HeapLink* first = other.m_heap.next;
        HeapLink* last = other.m_heap.previous;
        last->next = m_heap.next;
        m_heap.next->previous = last;
        first->previous = &m_heap;
        m_heap.next = first;
        m_heapBlocks += other.m_heapBlocks;
    }
    if (!m_next) {
        // Nothing carved here yet: the other arena's slab is carved on, and this arena's kept
        // slabs follow its own.
        m_slabs.insert(m_slabs.begin(), other.m_slabs.begin(), other.m_slabs.end());
        m_slab = other.m_next ? other.m_slab : 0;
        m_next = other.m_next;
        m_end = other.m_end;
    } else {
        // Put before the slab being carved, the adopted slabs count as reached: releaseAll
        // keeps them for the next round.
        m_slabs.insert(m_slabs.begin() + std::ptrdiff_t(m_slab), other.m_slabs.begin(),
                       other.m_slabs.end());
        m_slab += theirs;
    }
    other.m_slabs.clear();
    other.m_slab = 0;
    other.m_next = nullptr;
    other.m_end = nullptr;
    other.m_heap = HeapLink{&other.m_heap, &other.m_heap};
    other.m_heapBlocks = 0;
}

void RowArena::lend(RowArena& other, qsizetype keep) {
    Q_ASSERT(!other.m_next && other.m_slabs.empty());
    // Slabs after the one being carved have not been carved since the last releaseAll.
    const size_t first = std::max(m_next ? m_slab + 1 : 0, size_t(std::max<qsizetype>(keep, 0)));
    if (first >= m_slabs.size()) {
        return;
    }
    other.m_slabs.assign(m_slabs.begin() + std::ptrdiff_t(first), m_slabs.end());
    m_slabs.resize(first);
}

void* RowArena::carve(qsizetype bytes) {
    if (m_end - m_next < bytes) {
        // The rest of the slab (less than the largest block) stays unused until releaseAll.
        const size_t next = m_next ? m_slab + 1 : 0;
        if (next == m_slabs.size()) {
            m_slabs.reserve(m_slabs.size() + 1);
            m_slabs.push_back(newSlab());
        }
        m_slab = next;
        m_next = m_slabs[next];
        m_end = m_next + SlabBytes;
    }
    void* block = m_next;
    m_next += bytes;
    // Rows are stored one after the other: asking for the memory a few rows ahead hides the
    // wait for each new cache line that writing the next row would otherwise start.
    __builtin_prefetch(m_next + PrefetchAhead, 1);
    return block;
}

void* RowArena::allocateOnHeap(qsizetype bytes) {
    void* memory = std::malloc(sizeof(HeapLink) + size_t(bytes));
    if (!memory) {
        throw std::bad_alloc();
    }
    auto* link = new (memory) HeapLink{&m_heap, m_heap.next};
    m_heap.next->previous = link;
    m_heap.next = link;
    ++m_heapBlocks;
    return link + 1;
}

void RowArena::releaseOnHeap(void* block) noexcept {
    HeapLink* link = static_cast<HeapLink*>(block) - 1;
    link->previous->next = link->next;
    link->next->previous = link->previous;
    --m_heapBlocks;
    std::free(link);
}

void RowArena::releaseHeapBlocks() noexcept {
    for (HeapLink* link = m_heap.next; link != &m_heap;) {
        HeapLink* next = link->next;
        std::free(link);
        link = next;
    }
    m_heap = HeapLink{&m_heap, &m_heap};
    m_heapBlocks = 0;
}

char* RowArena::newSlab() {
    if (char* slab = SlabReserve::instance().take()) {
        return slab;
    }
    // Mapped with room to spare and trimmed to a slab-aligned slab, so that a system that backs
    // large mappings with huge pages can give the slab one.
    const auto size = size_t(SlabBytes);
    void* mapped =
        mmap(nullptr, 2 * size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        throw std::bad_alloc();
    }
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + size - 1) & ~std::uintptr_t(size - 1);
    if (aligned > start) {
        munmap(mapped, aligned - start);
    }
    if (aligned + size < start + 2 * size) {
        munmap(reinterpret_cast<void*>(aligned + size), start + 2 * size - (aligned + size));
    }
    // Where huge pages go only to the mappings that ask for them, the slab asks: rows written
    // one after the other then cost one TLB entry per slab instead of 512.
    madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
    return reinterpret_cast<char*>(aligned);
}

void RowArena::giveUpSlab(char* slab) noexcept {
    if (!SlabReserve::instance().keep(slab)) {
        munmap(slab, size_t(SlabBytes));
    }
}
