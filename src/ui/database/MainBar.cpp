#include "ui/database/MainBar.h"

#include "platform/WindowsColor.h"
#include "ui/database/SvgIcon.h"
#include "ui/database/WindowLayout.h"

#include <QFont>
#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>

namespace {

// Twips: every button sits at the top of the bar, 330 high.
constexpr int ButtonHeight = 330;
constexpr int BarHeight = 375;

struct ButtonSpec {
    const char* name;
    int left;
    int width;
    const char* toolTip;
    const char* caption; // nullptr: a picture button
};

constexpr ButtonSpec kButtons[] = {
    {"btnBack", 120, 280, "Back", nullptr},
    {"cmdNew", 600, 260, "New", nullptr},
    {"cmdOpen", 840, 280, "Open", nullptr},
    {"cmdSave", 1080, 280, "Save", nullptr},
    {"cmdList", 1560, 260, "List", nullptr},
    {"cmdFindFiles", 1920, 280, "Search Computer", nullptr},
    {"cmdUndo", 2400, 280, "Undo", nullptr},
    {"cmdRedo", 2640, 280, "Redo", nullptr},
    {"cmdFind", 3120, 280, "Find", nullptr},
    {"cmdBold", 3600, 260, "Bold", "B"},
    {"cmdItalic", 3840, 260, "Italic", "I"},
    {"cmdUnderlined", 4080, 260, "Underline", "U"},
    {"cmdFontColor", 4320, 260, "Font Color", "A C"},
};

// What a drawn caption depends on.
struct CaptionKey {
    QString text;
    QFont font;
    QSize size;
    QRgb ink;
    qreal ratio;

    bool operator==(const CaptionKey&) const = default;
};

size_t qHash(const CaptionKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.text, key.font, key.size.width(), key.size.height(), key.ink,
                      key.ratio);
}

// A toolbar button at rest (enabled, flat, not pointed at, pressed, checked or focused) is
// only its picture or caption: drawn here directly, as the style would place it, without the
// style's whole button drawing, which a window pays thirteen times when it opens. Any other
// state is the style's.
class ToolBarButton final : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent* event) override {
        if (!isEnabled() || !autoRaise() || isDown() || isChecked() || underMouse() || hasFocus() ||
            menu() != nullptr || toolButtonStyle() != Qt::ToolButtonIconOnly) {
            QToolButton::paintEvent(event);
            return;
        }
        QPainter painter(this);
        const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
        const QRect label = rect().adjusted(frame, frame, -frame, -frame);
        if (icon().isNull()) {
            painter.drawPixmap(label.topLeft(), caption(label.size()));
            return;
        }
        const QPixmap picture = icon().pixmap(label.size().boundedTo(iconSize()),
                                              devicePixelRatio(), QIcon::Normal, QIcon::Off);
        style()->drawItemPixmap(&painter, label, Qt::AlignCenter, picture);
    }

private:
    // The caption as the style lays it out, drawn once per text, font, colour and size for
    // every window: shaping a text costs more than the rest of the button.
    QPixmap caption(QSize size) const {
        const CaptionKey key{text(), font(), size, palette().color(QPalette::ButtonText).rgba(),
                             devicePixelRatioF()};
        const qreal ratio = key.ratio;
        static QHash<CaptionKey, QPixmap> drawn;
        auto found = drawn.constFind(key);
        if (found == drawn.constEnd()) {
            QPixmap pixmap(size * ratio);
            pixmap.setDevicePixelRatio(ratio);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            painter.setFont(font());
            style()->drawItemText(&painter, QRect(QPoint(0, 0), size),
                                  Qt::AlignCenter | Qt::TextShowMnemonic, palette(), true, text(),
                                  QPalette::ButtonText);
            painter.end();
            found = drawn.insert(key, pixmap);
        }
        return *found;
    }
};

// 9.75 pt, the size of the captions.
QFont captionFont(const QString& family) {
    QFont font(family);
    font.setPointSizeF(9.75);
    return font;
}

} // namespace

MainBar::MainBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("mainbar"));
    resize(WindowLayout::toPixels(8655), WindowLayout::toPixels(BarHeight));
    for (const ButtonSpec& spec : kButtons) {
        auto* button = new ToolBarButton(this);
        const QString name = QString::fromLatin1(spec.name);
        button->setObjectName(name);
        button->setToolTip(QString::fromLatin1(spec.toolTip));
        button->setAutoRaise(true);
        button->setGeometry(WindowLayout::toPixels(spec.left, 0, spec.width, ButtonHeight));
        if (spec.caption) {
            button->setText(QString::fromLatin1(spec.caption));
        } else {
            // The pictures are drawn on a 16-pixel grid: shown at that size they stay sharp.
            const QSize iconSize(16, 16);
            button->setIcon(
                SvgIcon::load(QStringLiteral(":/database/icons/%1.svg").arg(name), iconSize));
            button->setIconSize(iconSize);
        }
        m_buttons.insert(name, button);
    }
    m_buttons.value(QStringLiteral("cmdBold"))
        ->setFont(captionFont(QStringLiteral("Book Antiqua")));
    m_buttons.value(QStringLiteral("cmdItalic"))
        ->setFont(captionFont(QStringLiteral("Times New Roman")));
    m_buttons.value(QStringLiteral("cmdUnderlined"))
        ->setFont(captionFont(QStringLiteral("Times New Roman")));
    // The swatch lies on the lower half of the colour button, below a small caption.
    QToolButton* color = m_buttons.value(QStringLiteral("cmdFontColor"));
    QFont small = color->font();
    small.setPixelSize(9);
    color->setFont(small);

    m_swatch = new QWidget(this);
    m_swatch->setObjectName(QStringLiteral("Picture1"));
    m_swatch->setAutoFillBackground(true);
    m_swatch->setGeometry(WindowLayout::toPixels(4350, 160, 210, 140));
    m_swatch->setCursor(Qt::PointingHandCursor);
    m_swatch->installEventFilter(this);

    // Before any cell has had the focus the Bold button shows off, Italic and Underline on.
    showFormat({.bold = false, .italic = true, .underlined = true, .color = 0});
}

QToolButton* MainBar::button(const QString& name) const {
    return m_buttons.value(name, nullptr);
}

void MainBar::showFormat(const ShownFormat& format) {
    m_shown = format;
    const auto setFlag = [this](const char* name, void (QFont::*setter)(bool), bool on) {
        QToolButton* button = m_buttons.value(QString::fromLatin1(name));
        QFont font = button->font();
        (font.*setter)(on);
        button->setFont(font);
    };
    setFlag("cmdBold", &QFont::setBold, format.bold);
    setFlag("cmdItalic", &QFont::setItalic, format.italic);
    setFlag("cmdUnderlined", &QFont::setUnderline, format.underlined);
    QPalette palette = m_swatch->palette();
    palette.setColor(QPalette::Window, colorFromWindows(format.color));
    m_swatch->setPalette(palette);
}

bool MainBar::eventFilter(QObject* watched, QEvent* event) {
    // A click on the swatch is a click on the colour button under it.
    if (watched == m_swatch && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        m_buttons.value(QStringLiteral("cmdFontColor"))->click();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}
