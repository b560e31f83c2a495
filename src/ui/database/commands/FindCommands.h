#pragma once

#include <QString>
#include <QtGlobal>

class List;
class Platform;

/// Find and Replace of the find panel: the grid searches, selects and replaces; the panel
/// says "Not Found!" when nothing was.
class FindCommands final {
public:
    FindCommands(List& list, Platform& platform);
    Q_DISABLE_COPY_MOVE(FindCommands)

    /// Nothing for an empty search text.
    void find(const QString& text, bool exactMatch);
    void replace(const QString& text, const QString& replacement, bool all, bool exactMatch);

private:
    void notFound();

    List& m_list;
    Platform& m_platform;
};
