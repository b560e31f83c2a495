#pragma once

#include <QObject>
#include <QString>

/// A named text the window keeps among its controls, where a hidden label would hold a
/// caption nobody sees: the current column and the dirty flag. It is no widget, since nothing
/// of it is ever shown, and a window opens faster without two more.
class ValueHolder final : public QObject {
    Q_OBJECT
public:
    ValueHolder(const QString& name, QString text, QObject* parent)
        : QObject(parent), m_text(std::move(text)) {
        setObjectName(name);
    }

    QString text() const { return m_text; }
    void setText(const QString& text) { m_text = text; }

private:
    QString m_text;
};
