#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

/// One cell as a value: its text and its format.
struct Cell {
    QString Text;
    bool Bold = false;
    bool Itallic = false;
    bool Underlined = false;
    qint32 Color = 0;

    friend bool operator==(const Cell&, const Cell&) = default;
};

/// One cell as stored, without copying its text. Valid until the table next changes.
struct CellRef {
    QStringView Text;
    bool Bold = false;
    bool Itallic = false;
    bool Underlined = false;
    qint32 Color = 0;

    Cell toCell() const { return Cell{Text.toString(), Bold, Itallic, Underlined, Color}; }
};
