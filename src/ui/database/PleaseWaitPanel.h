#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

/// The progress frame PleaseWait over the grid: its caption PleaseWaitCaption and its bar
/// ProgressBar1, shown while a file is read or a spreadsheet exchanged.
class PleaseWaitPanel final : public QWidget {
    Q_OBJECT

public:
    explicit PleaseWaitPanel(QWidget* parent);
    Q_DISABLE_COPY_MOVE(PleaseWaitPanel)

    void setCaption(const QString& caption);
    QProgressBar& bar() const { return *m_bar; }

private:
    QLabel* m_caption = nullptr;
    QProgressBar* m_bar = nullptr;
};
