#pragma once

#include <QtGlobal>

/// How much memory one import may fill with text: the texts it gathers for the table and what
/// the readers hold meanwhile (the rows read, a workbook's string table). Each holder takes its
/// bytes before it keeps them and gives them back when it lets them go. Once a take would pass
/// the limit the budget is spent: the take is refused and the import stops without changing
/// the table. A small workbook can name one long text millions of times, so the file's size
/// says nothing about what an import of it would hold.
class ImportBudget final {
public:
    /// The most any import holds, whatever the machine: far more text than a table saved
    /// sensibly in one file holds.
    static constexpr qint64 MaxBytes = qint64(1) << 30;
    /// The part of the physical memory an import may hold: the table keeps its own copy of
    /// what is imported, and the machine runs more than this application.
    static constexpr qint64 MemoryShare = 8;
    /// What an import may hold when the system does not say how much memory it has.
    static constexpr qint64 UnknownMemoryBytes = qint64(256) << 20;

    /// The limit on a machine with `physicalBytes` of memory (0 or less: not known): an eighth
    /// of it, never more than MaxBytes.
    static qint64 limitForMemory(qint64 physicalBytes);

    /// A budget of `limitBytes` (a limit below 0 counts as 0), nothing held.
    explicit ImportBudget(qint64 limitBytes);
    Q_DISABLE_COPY_MOVE(ImportBudget)

    /// Takes `bytes` (0 or more); false, taking nothing and spending the budget, when they
    /// would pass the limit. Once spent, every take is refused.
    [[nodiscard]] bool take(qint64 bytes) {
        // Inline: the readers take a little for nearly every cell.
        if (m_spent || bytes < 0 || bytes > m_limit - m_held) {
            m_spent = true;
            return false;
        }
        m_held += bytes;
        return true;
    }
    /// Gives back bytes taken before.
    void giveBack(qint64 bytes);

    /// True once a take was refused.
    bool spent() const { return m_spent; }
    qint64 limit() const { return m_limit; }
    qint64 held() const { return m_held; }

private:
    qint64 m_limit;
    qint64 m_held = 0;
    bool m_spent = false;
};
