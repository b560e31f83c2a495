#include "ui/shell/StoredPlaceWatch.h"

#include "ui/database/frmItems.h"

#include <QEvent>

void StoredPlaceWatch::start(frmItems& window) {
    // Owned by the window: it goes when the window goes.
    new StoredPlaceWatch(window);
}

StoredPlaceWatch::StoredPlaceWatch(frmItems& window)
    : QObject(&window), m_window(window), m_applied(border()) {
    m_window.installEventFilter(this);
}

QSize StoredPlaceWatch::border() const {
    return m_window.frameGeometry().size() - m_window.size();
}

bool StoredPlaceWatch::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &m_window) {
        return false;
    }
    const QEvent::Type type = event->type();
    if (type != QEvent::Move && type != QEvent::Resize && type != QEvent::WindowActivate) {
        return false;
    }
    if (border() != m_applied) {
        finish();
        m_window.applyStoredState();
    } else if (type == QEvent::WindowActivate) {
        finish();
    }
    return false;
}

void StoredPlaceWatch::finish() {
    m_window.removeEventFilter(this);
    deleteLater();
}
