#pragma once

#include <QValidator>

/// Guards what reaches a cell editor's text. Line breaks never survive (CR LF pairs, lone CR
/// and lone LF are removed and the pieces joined), because a cell is one line of its file.
/// Edits by the user may make the text at most `maxTypedLength` characters long: a longer
/// insertion is cut to what still fits, but deleting from a longer text is always allowed.
/// Texts the program sets are only joined, never shortened.
class CellTextValidator final : public QValidator {
    Q_OBJECT

public:
    CellTextValidator(int maxTypedLength, QObject* parent);
    Q_DISABLE_COPY_MOVE(CellTextValidator)

    /// The editor's text before the edit being checked; the editor keeps it current.
    void setAcceptedText(const QString& text) { m_accepted = text; }
    /// While set, edits come from the program: joined, never cut.
    void setProgramEdit(bool programEdit) { m_programEdit = programEdit; }

    State validate(QString& input, int& pos) const override;

private:
    int m_maxTypedLength;
    QString m_accepted;
    bool m_programEdit = false;
};
