#pragma once

#include "gridview/List.h"
#include "gridview/ListHost.h"

#include <QApplication>
#include <QImage>
#include <QStringList>
#include <QTest>

#include <memory>

/// A shown, active List of `rows` x `columns` cells holding "r<row>c<column>", each column
/// `columnWidth` wide, with an empty journal.
inline std::unique_ptr<List> makeList(int rows, int columns, int columnWidth = 100,
                                      QSize size = QSize(400, 300), bool fill = true) {
    auto list = std::make_unique<List>();
    list->resize(size);
    list->LetWidthColumn(1, columnWidth);
    for (int c = 2; c <= columns; ++c) {
        list->AddColumn(0, columnWidth, QStringLiteral("H%1").arg(c));
    }
    list->SetColumnHeader(1, QStringLiteral("H1"));
    if (rows > 1) {
        list->AddMoreThanOneRow(rows - 1);
    }
    if (fill) {
        for (int r = 1; r <= rows; ++r) {
            for (int c = 1; c <= columns; ++c) {
                list->table().setCellText(r, c, QStringLiteral("r%1c%2").arg(r).arg(c));
            }
        }
        list->RenderColumn(-1);
    }
    list->ClearUndoRedo();
    list->show();
    QApplication::setActiveWindow(list.get());
    if (!QTest::qWaitForWindowActive(list.get())) {
        qWarning("the grid's window did not become active");
    }
    return list;
}

template <typename T = QWidget> T* part(const List& list, const QString& name) {
    return list.findChild<T*>(name);
}

/// Whether a part is on screen. The editor row and its number mark are made when a row is
/// first selected, so before that they are not there at all.
inline bool partShown(const List& list, const QString& name) {
    const QWidget* w = part(list, name);
    return w && w->isVisible();
}

/// The cell area's height V and the content height C of a list.
inline int areaV(const List& l) {
    return l.height() - 36;
}
inline int contentC(const List& l) {
    return 16 * l.ListCount();
}

/// A host that records what the grid tells it and appends a record on DODARED like the
/// database window (up to 500000 records).
class RecordingHost final : public ListHost {
public:
    explicit RecordingHost(List* list) : m_list(list) {}
    void DODARED() override {
        calls << QStringLiteral("DODARED");
        if (m_list->ListCount() <= 500000) {
            m_list->AddRow(QString(), m_list->ListCount() + 1);
        }
    }
    void setEditBarText(const QString& text) override { calls << QStringLiteral("edit:") + text; }
    void showCellFormat(bool bold, bool italic, bool underlined, qint32 color) override {
        calls
            << QStringLiteral("format:%1%2%3:%4").arg(bold).arg(italic).arg(underlined).arg(color);
    }
    bool exactMatchTicked() const override { return exact; }
    QString searchText() const override { return search; }
    void setProgressMaximum(int maximum) override {
        calls << QStringLiteral("max:%1").arg(maximum);
    }
    void setProgressValue(int value) override { calls << QStringLiteral("value:%1").arg(value); }

    QStringList calls;
    bool exact = false;
    QString search;

private:
    List* m_list;
};

/// The colour of one pixel of a widget as drawn on screen.
inline QColor pixelOf(QWidget* w, int x, int y) {
    return w->grab().toImage().pixelColor(x, y);
}
