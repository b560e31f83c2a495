#pragma once

/// What the table asks of whatever draws it. Every request has an empty default, so a table
/// runs headless with no view attached, and a test view overrides only what it records.
class TableView {
public:
    virtual ~TableView() = default;

    /// Redraws column `Stol` (1..ColumnCount), every column and then the numbers (-1), or the
    /// row-number strip alone (-2). The view ignores it while the table's DoNotRender is set.
    virtual void RenderColumn(int /*Stol*/) {}
    /// Refits the row-number strip to the digits of the row count.
    virtual void FitNumberColumn() {}
    /// Recomputes both scroll bars.
    virtual void SetScrollers() {}
    /// Rebuilds the header labels from the captions and widths.
    virtual void BuildHeader() {}
    /// Ends in-place editing.
    virtual void HideEditors() {}
    /// The column count or a width changed: the view creates or removes column surfaces to
    /// match, places each column one pixel after the one before, recomputes the content width
    /// and keeps the horizontal scroll position within it.
    virtual void LayoutColumns() {}
    /// After a row removal: if the cell area below the last row is taller than the scroll
    /// offset allows, moves the rows down so the table ends at the bottom of the view.
    virtual void ClampTopOffsetAfterRemove() {}
    /// Scrolls back to the first row (clearing the table).
    virtual void ResetTopOffset() {}
    /// Scrolls back to the first column (resetting the table).
    virtual void ScrollFullyLeft() {}
    /// The table's content changed: a text, format, colour, caption, width or its shape, by an
    /// edit, an undo or redo, a replace or a reader. Edit flags and the selection are no change.
    virtual void TableChanged() {}
};
