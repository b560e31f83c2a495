#pragma once

#include <QRect>
#include <QString>

#include <optional>

/// A window's stored place as the settings hold it (text values, geometry in twips) and as the
/// window uses it (pixels). Values that do not read as what they should be are left out, so
/// the window keeps what it has for them.
struct WindowPlacement {
    /// Maximised ("2"); a stored normal or minimised window is shown normal.
    std::optional<bool> maximised;
    /// The outer frame's left and top, in pixels.
    std::optional<int> left;
    std::optional<int> top;
    /// The outer frame's width and height, in pixels.
    std::optional<int> width;
    std::optional<int> height;

    /// From the stored texts: a state ("0", "1", "2"), and left, top, width and height in
    /// twips.
    static WindowPlacement fromSettings(const QString& state, const QString& left,
                                        const QString& top, const QString& width,
                                        const QString& height);

    /// The texts to store for a window with this outer frame (pixels): "2" when maximised,
    /// otherwise "0", and the frame in twips.
    struct Stored {
        QString state;
        QString left;
        QString top;
        QString width;
        QString height;

        friend bool operator==(const Stored&, const Stored&) = default;
    };
    static Stored toSettings(bool maximised, const QRect& frame);

    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

/// A stored check mark ("True", "False", or a number): nothing for anything else.
std::optional<bool> storedTruth(const QString& text);
/// A check mark as stored: "True" or "False".
QString truthText(bool value);
