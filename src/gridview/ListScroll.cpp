#include "gridview/List.h"

#include "gridview/ArrowIcons.h"
#include "gridview/GridGeometry.h"
#include "gridview/cmdButton.h"

#include <QMouseEvent>
#include <QTimer>

using namespace GridGeometry;

namespace {
const char* const DirectionCodes[4] = {"G", "D", "L", "DE"};
}

void List::setPointer(Qt::CursorShape shape) {
    if (cursor().shape() != shape) {
        setCursor(shape);
    }
}

void List::setArrowEnabled(int k, bool enabled) {
    cmdButton* b = m_s.arrow(k);
    if (b->Enabled() != enabled) {
        b->setButtonEnabled(enabled);
    }
}

void List::SetScrollers() {
    // A grid still waiting for its first size sets its bars when the size arrives
    // (resizeEvent): set now, they would follow a size it never shows.
    if (!m_started || !m_laidOutSize.isValid()) {
        return;
    }
    const int V = areaHeight();
    const Thumb v = verticalThumb(V, contentHeight(), m_topOffset);
    if (v.visible) {
        m_s.DrsnikV->show();
        setArrowEnabled(0, true);
        setArrowEnabled(1, true);
        const QRect wanted(0, v.pos, ScrollSize, v.length);
        if (m_s.DrsnikV->geometry() != wanted) {
            m_s.DrsnikV->setGeometry(wanted);
        }
    } else {
        m_s.DrsnikV->hide();
        setArrowEnabled(0, false);
        setArrowEnabled(1, false);
    }
    m_s.PicScrV->update();

    const Thumb h = horizontalThumb(width(), m_strip, contentWidth(), m_left);
    if (h.visible) {
        cmdButton* thumb = ensureHorizontalThumb();
        const QRect wanted(h.pos, 0, h.length, ScrollSize);
        if (thumb->geometry() != wanted) {
            thumb->setGeometry(wanted);
        }
        thumb->show();
        setArrowEnabled(2, true);
        setArrowEnabled(3, true);
    } else {
        if (m_s.DrsnikH) {
            m_s.DrsnikH->hide();
        }
        setArrowEnabled(2, false);
        setArrowEnabled(3, false);
    }
    m_s.PicScrH->update();
}

void List::verticalScrolledBy(int newOffset) {
    m_topOffset = newOffset;
    RenderColumn(-1);
    placeEditorsVertically();
}

void List::horizontalScrolledTo(int newLeft) {
    moveContentTo(newLeft);
}

bool List::trackEvent(QEvent* event, Qt::Orientation axis) {
    const bool vertical = axis == Qt::Vertical;
    cmdButton* thumb = vertical ? m_s.DrsnikV : m_s.DrsnikH;
    int& grab = vertical ? MouseY : MouseX;
    auto* me = static_cast<QMouseEvent*>(event);
    const QPoint at = me->position().toPoint();
    const int p = vertical ? at.y() : at.x();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (me->button() != Qt::LeftButton || !thumb || !thumb->isVisible()) {
            return true;
        }
        grab = vertical ? grabOffset(p, thumb->y(), thumb->height())
                        : grabOffset(p, thumb->x(), thumb->width());
        [[fallthrough]];
    case QEvent::MouseMove:
        setPointer(Qt::ArrowCursor);
        if ((me->buttons() & Qt::LeftButton) && thumb && thumb->isVisible()) {
            dragThumbTo(axis, p - grab);
        }
        return true;
    case QEvent::MouseButtonRelease:
        trackReleased();
        return true;
    default:
        return false;
    }
}

void List::dragThumbTo(Qt::Orientation axis, int wanted) {
    if (axis == Qt::Vertical) {
        const ThumbDrag d =
            dragVertical(wanted, m_s.DrsnikV->height(), areaHeight(), contentHeight(), m_topOffset);
        m_s.DrsnikV->move(0, d.thumbPos);
        if (d.scroll == m_topOffset) {
            return;
        }
        verticalScrolledBy(d.scroll);
    } else {
        const ThumbDrag d =
            dragHorizontal(wanted, m_s.DrsnikH->width(), width(), m_strip, contentWidth(), m_left);
        m_s.DrsnikH->move(d.thumbPos, 0);
        if (d.scroll == m_left) {
            return;
        }
        horizontalScrolledTo(d.scroll);
    }
    update();
}

void List::trackReleased() {
    if (m_table.iSelected() >= 1) {
        SelectItem(m_table.iSelected(), 1, m_table.iSelectedColumn());
    }
}

void List::arrowPressed(int k) {
    m_s.arrow(k)->movePicture(ArrowIcons::PictureAt + QPoint(1, 1));
    m_s.tmrScroll->setProperty("Tag", QString::fromLatin1(DirectionCodes[k]));
    scrollStep(QString::fromLatin1(DirectionCodes[k]));
    m_s.tmrScroll->setInterval(500);
    m_s.tmrScroll->start();
}

void List::arrowReleased(int k) {
    m_s.tmrScroll->stop();
    m_s.arrow(k)->movePicture(ArrowIcons::PictureAt);
    if (m_table.iSelected() > 0) {
        SelectItem(m_table.iSelected(), 1, m_table.iSelectedColumn());
    }
}

void List::scrollTick() {
    // The first repeat waits 500 ms; every later one comes 50 ms after the one before.
    m_s.tmrScroll->setInterval(50);
    scrollStep(m_s.tmrScroll->property("Tag").toString());
}

void List::scrollStep(const QString& code) {
    const int V = areaHeight();
    std::optional<int> vertical;
    std::optional<int> horizontal;
    if (code == QLatin1String("G")) {
        vertical = stepUp(m_topOffset);
    } else if (code == QLatin1String("D")) {
        vertical = stepDown(V, contentHeight(), m_topOffset);
    } else if (code == QLatin1String("L")) {
        horizontal = stepLeft(m_strip, m_left);
    } else if (code == QLatin1String("DE")) {
        horizontal = stepRight(width(), m_strip, contentWidth(), m_left);
    }

    if (vertical) {
        verticalScrolledBy(*vertical);
        SetScrollers();
    } else if (horizontal) {
        horizontalScrolledTo(*horizontal);
        SetScrollers();
    }
}
