#pragma once

#include "ui/database/commands/DatabaseWindowState.h"

#include <QFrame>
#include <QHash>

class QToolButton;

/// The database window's toolbar mainbar: the file, search, journal and find buttons with
/// their pictures, the Bold, Italic and Underline buttons whose own font shows the current
/// cell's format, and the Font Color button with its colour swatch Picture1 lying on it.
class MainBar final : public QFrame {
    Q_OBJECT

public:
    explicit MainBar(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(MainBar)

    /// The button named `name` ("cmdSave", "cmdBold", ...); nullptr for another name.
    QToolButton* button(const QString& name) const;

    ShownFormat shownFormat() const { return m_shown; }
    /// The format buttons' fonts and the swatch's colour.
    void showFormat(const ShownFormat& format);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<QString, QToolButton*> m_buttons;
    QWidget* m_swatch = nullptr;
    ShownFormat m_shown;
};
