#pragma once

#include <QString>
#include <QtGlobal>

/// The few places where the grid reaches into the window that hosts it. The database window
/// implements it; every member has a neutral default so the grid also runs on its own.
class ListHost {
public:
    virtual ~ListHost() = default;

    /// COLUMNUMBER: the grid's current column as decimal text, into the host's holder.
    virtual void setActiveColumn(const QString& column) { m_activeColumn = column; }
    /// The host's current-column holder, as the host last stored it.
    virtual QString activeColumn() const { return m_activeColumn; }

    /// The find panel's "Exact Match" check box and search box, read by FindText.
    virtual bool exactMatchTicked() const { return false; }
    virtual QString searchText() const { return QString(); }

    /// A cell editor took the focus: the edit bar shows a text ...
    virtual void setEditBarText(const QString& /*text*/) {}
    /// ... and the format buttons and the colour swatch show the cell's format.
    virtual void showCellFormat(bool /*bold*/, bool /*italic*/, bool /*underlined*/,
                                qint32 /*color*/) {}

    /// Down on the last record: the host appends an empty record and marks the document changed.
    virtual void DODARED() {}

    /// The table's content changed, however it was made (an edit in a cell, a command, undo,
    /// a reader): the host marks its document changed.
    virtual void tableChanged() {}

    /// The progress bar shown during a spreadsheet export or import.
    virtual void setProgressMaximum(int /*maximum*/) {}
    virtual void setProgressValue(int /*value*/) {}

    /// The spreadsheet stand-in's working folder; empty for the system's temporary folder.
    virtual QString exchangeTempFolder() const { return QString(); }

    /// The spreadsheet availability found at start-up: "RADI" or "NERADI".
    virtual QString excelStatus() const { return QStringLiteral("RADI"); }

private:
    QString m_activeColumn;
};
