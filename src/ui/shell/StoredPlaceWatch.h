#pragma once

#include <QObject>
#include <QSize>

class frmItems;

/// Gives a database window that has just been shown its stored place again once its frame's
/// border is known. The settings keep the outer frame's size, and a window learns its border
/// from the window manager only some time after it is shown: sized before that, it would come
/// up (and be stored again) a border larger at every opening. The watch ends when the border
/// is known or the window is activated, whichever comes first, and goes with the window.
class StoredPlaceWatch final : public QObject {
    Q_OBJECT

public:
    /// Starts watching `window`, which has just been shown with its stored state applied.
    static void start(frmItems& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit StoredPlaceWatch(frmItems& window);
    QSize border() const;
    void finish();

    frmItems& m_window;
    QSize m_applied;
};
