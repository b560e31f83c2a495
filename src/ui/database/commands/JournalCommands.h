#pragma once

#include <QtGlobal>

class DatabaseWindowState;
class List;
class Platform;

/// Undo and Redo of the database window, saying so when there is nothing to undo or redo.
class JournalCommands final {
public:
    JournalCommands(List& list, Platform& platform, DatabaseWindowState& window);
    Q_DISABLE_COPY_MOVE(JournalCommands)

    /// Undoes the last edit ("Cant undo!" when there is none); the focus then goes to the
    /// Undo button and back to the grid.
    void undo();
    /// Redoes the last undone edit ("Cant redo!" when there is none).
    void redo();

private:
    List& m_list;
    Platform& m_platform;
    DatabaseWindowState& m_window;
};
