#pragma once

#include "ui/shell/SecurityWindow.h"
#include "ui/shell/SpreadsheetProbe.h"

#include <QPoint>
#include <QWidget>

#include <memory>

class AppFolder;
class QLabel;
class QLineEdit;
class QPushButton;
class SecurityCommands;
struct SettingsRecord;

/// The security window: the general password changed or removed. Loading it reads the
/// settings file into the record and probes the spreadsheet stand-in once for the run. It has
/// no caption, is loaded hidden by the start window and is only hidden again by its "X".
class frmBalance final : public QWidget, private SecurityWindow {
    Q_OBJECT

public:
    /// Loads the window hidden: reads the settings into `settings` and runs `probe` (the
    /// stand-in of the application in `folder` when empty). Both outlive the window.
    frmBalance(SettingsRecord& settings, const AppFolder& folder,
               const SpreadsheetProbe::Probe& probe = {}, QWidget* parent = nullptr);
    ~frmBalance() override;
    Q_DISABLE_COPY_MOVE(frmBalance)

    void SaveGeneralPassword();
    void ShowSecurityState();

protected:
    // Without a caption to hold, the window is moved by its background.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // SecurityWindow
    QString boxText(Box box) const override;
    void emptyBox(Box box) override;
    void focusBox(Box box) override;
    void showStateCaption(const QString& caption) override;

    void buildControls();
    QLineEdit* box(Box which) const;

    QLabel* m_captions = nullptr;
    QLineEdit* m_old = nullptr;
    QLineEdit* m_new = nullptr;
    QLineEdit* m_confirm = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_state = nullptr;
    QPushButton* m_close = nullptr;
    std::unique_ptr<SecurityCommands> m_commands;
    QPoint m_grab;
};
