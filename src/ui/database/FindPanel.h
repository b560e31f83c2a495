#pragma once

#include <QFrame>

class ClickableLabel;
class QCheckBox;
class QLineEdit;

/// The find and replace panel Find: a search text, a replacement, "Exact Match" and "Replace
/// all", and the clickable labels Find, Replace and X. It keeps no state beyond its controls;
/// the texts stay while it is hidden. The window runs the searches (FindCommands).
class FindPanel final : public QFrame {
    Q_OBJECT

public:
    explicit FindPanel(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(FindPanel)

    QString searchText() const;
    QString replacementText() const;
    bool exactMatch() const;
    bool replaceAll() const;
    /// Puts the cursor into the search box.
    void focusSearch();

signals:
    void findClicked();
    void replaceClicked();
    void closeClicked();

private:
    QCheckBox* m_exactMatch = nullptr;
    QLineEdit* m_toFind = nullptr;
    QCheckBox* m_replaceAll = nullptr;
    QLineEdit* m_toReplace = nullptr;
};
