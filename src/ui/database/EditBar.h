#pragma once

#include <QLineEdit>

class CellTextValidator;

/// The database window's edit bar TextText: a live mirror of the current cell. The user types
/// at most 80 characters into it; a longer text the program shows (a cell read from a file or
/// a spreadsheet) is shown whole and left as it is. It tints itself while it has the focus,
/// selects all on entry, and Enter empties it.
class EditBar final : public QLineEdit {
    Q_OBJECT

public:
    static constexpr int MaxTypedLength = 80;

    explicit EditBar(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(EditBar)

    /// Shows a text as the program: whole, and without raising edited().
    void showText(const QString& text);

signals:
    /// The user changed the text: typing, pasting, deleting, or Enter emptying it.
    void edited(const QString& text);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setBackground(const QColor& color);

    CellTextValidator* m_validator = nullptr;
    // The press that brought the focus would place the caret: the selection is made after it.
    bool m_selectAfterPress = false;
};
