#pragma once

#include <QString>
#include <QWidget>

class CellTextValidator;
class QLineEdit;

/// The cell editor the grid lays over each cell of the current row: a frameless single-line
/// edit box TXT with write-only format properties. The user can type or paste at most 80
/// characters into it, while a longer text set by the program is shown whole and kept. Line
/// breaks typed, pasted or set are removed and the pieces joined, so a cell stays one line.
///
/// On every focus (other than the window being reactivated or a popup closing) the editor
/// first raises GotFocus, where the grid brings its host's edit bar and format buttons up to
/// date, and then selects all its text, unless DisableSelectAll asked once to keep the
/// selection.
class lblTxt final : public QWidget {
    Q_OBJECT

public:
    static constexpr int MaxTypedLength = 80;

    explicit lblTxt(QWidget* parent = nullptr);
    ~lblTxt() override;
    Q_DISABLE_COPY_MOVE(lblTxt)

    void setForeColor(qint32 color);
    void setBackColor(qint32 color);
    void setBold(bool bold);
    void setItallic(bool italic);
    void setUnderlined(bool underlined);

    QString Text() const;
    /// Sets the text as the program: never shortened; raises Change like typing when the text
    /// changes.
    void setText(const QString& text);

    /// Selects all text: start 0, length = text length.
    void Selected();
    /// Selects `Lenght` characters from `Start`, both clamped to the text.
    void SelectText(int Start, int Lenght);

    /// When set, the next focus keeps the current selection, and the flag resets.
    bool DisableSelectAll() const { return m_disableSelectAll; }
    void setDisableSelectAll(bool disable) { m_disableSelectAll = disable; }
    /// The text at the last focus that selected all.
    QString OnFocus() const { return m_onFocus; }

    /// Free text the grid keeps with the editor (the cell being edited).
    QString Tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }

signals:
    /// The text changed and holds no line break.
    void Change();
    /// A key went down in the edit box, before the edit box handles it. A handler that sets
    /// KeyCode to 0 keeps the key from the edit box; so does moving the focus away.
    void KeyDown(int& KeyCode, int& Shift);
    /// Right arrow with the caret at the end and nothing selected; the edit box leaves the key.
    void Right();
    /// Left arrow with the caret at the start and nothing selected; the edit box leaves the key.
    void Left();
    /// The pointer moved over the edit box (edit box coordinates).
    void MouseMove(int Button, int Shift, float X, float Y);
    /// The focus left the editor.
    void ExitFocus();
    /// The edit box took the focus, with its text and format, before the selection is made.
    void GotFocus(const QString& text, bool bold, bool italic, bool underlined, qint32 foreColor);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool keyPressed(QKeyEvent& event);
    void focusEntered();
    void setFontFlag(void (QFont::*setter)(bool), bool on);

    QLineEdit* m_txt = nullptr;
    CellTextValidator* m_validator = nullptr;
    qint32 m_foreColor = 0;
    bool m_disableSelectAll = false;
    QString m_onFocus;
    QString m_tag;
};
