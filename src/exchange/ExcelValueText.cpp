#include "exchange/ExcelValueText.h"

#include <QDate>

#include <cmath>

namespace ExcelValueText {
namespace {

constexpr double kLastSerial1900 = 2958465.0; // 9999-12-31
constexpr double kSecondsPerDay = 86400.0;

QString twoDigits(int n) {
    return QString::number(n).rightJustified(2, u'0');
}

QString timeText(qint64 seconds) {
    return twoDigits(int(seconds / 3600)) + u':' + twoDigits(int(seconds / 60 % 60)) + u':' +
           twoDigits(int(seconds % 60));
}

} // namespace

QString number(double value) {
    if (!std::isfinite(value)) {
        return QString::number(value);
    }
    if (value == 0.0) {
        return QStringLiteral("0"); // also for -0
    }
    QString text = QString::number(value, 'g', 15);
    const qsizetype e = text.indexOf(u'e');
    if (e >= 0) {
        text[e] = u'E';
    }
    return text;
}

QString serial(double value, NumberKind kind, bool date1904) {
    const double last = date1904 ? kLastSerial1900 - 1462.0 : kLastSerial1900;
    if (kind == NumberKind::Number || !std::isfinite(value) || value < 0.0 || value >= last + 1.0) {
        return number(value);
    }
    // Rounded to the second, which may carry into the next day.
    const qint64 totalSeconds = qint64(std::llround(value * kSecondsPerDay));
    const qint64 day = totalSeconds / qint64(kSecondsPerDay);
    const qint64 seconds = totalSeconds % qint64(kSecondsPerDay);
    if (kind == NumberKind::Time) {
        return timeText(seconds);
    }
    if (kind == NumberKind::Duration) {
        return timeText(totalSeconds);
    }
    QString date;
    if (date1904) {
        date = QDate(1904, 1, 1).addDays(day).toString(Qt::ISODate);
    } else if (day == 0) {
        date = QStringLiteral("1900-01-00"); // what spreadsheets show for day 0
    } else if (day == 60) {
        date = QStringLiteral("1900-02-29");
    } else {
        date = QDate(1899, 12, day < 60 ? 31 : 30).addDays(day).toString(Qt::ISODate);
    }
    if (kind == NumberKind::Date) {
        return date;
    }
    return date + u' ' + timeText(seconds);
}

QString boolean(QStringView stored) {
    if (stored == u"1") {
        return QStringLiteral("TRUE");
    }
    if (stored == u"0") {
        return QStringLiteral("FALSE");
    }
    return stored.toString();
}

NumberKind kindOfFormatCode(QStringView code) {
    bool date = false;
    bool time = false;
    bool month = false;
    bool elapsed = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const char16_t c = QChar::toLower(code[i].unicode());
        if (c == u'"') {
            const qsizetype close = code.indexOf(u'"', i + 1);
            i = close < 0 ? code.size() : close;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i; // an escaped character, or the character of a padding
        } else if (c == u'[') {
            const qsizetype close = code.indexOf(u']', i + 1);
            const QStringView inside =
                code.sliced(i + 1, (close < 0 ? code.size() : close) - i - 1);
            const char16_t first = inside.isEmpty() ? 0 : QChar::toLower(inside.front().unicode());
            if (first == u'h' || first == u'm' || first == u's') {
                elapsed = true; // [h], [mm], [ss]
            }
            i = close < 0 ? code.size() : close;
        } else if (c == u'y' || c == u'd') {
            date = true;
        } else if (c == u'h' || c == u's') {
            time = true;
        } else if (c == u'm') {
            month = true;
        } else if (c == u';') {
            break; // the first section decides
        }
    }
    // "m" alone is a month; next to hours or seconds it is a minute.
    if (elapsed && !date) {
        return NumberKind::Duration;
    }
    time = time || elapsed;
    date = date || (month && !time);
    if (date && time) {
        return NumberKind::DateTime;
    }
    if (date) {
        return NumberKind::Date;
    }
    return time ? NumberKind::Time : NumberKind::Number;
}

NumberKind kindOfBuiltInFormat(int id) {
    if ((id >= 14 && id <= 17) || (id >= 27 && id <= 31) || (id >= 34 && id <= 36) ||
        (id >= 50 && id <= 58)) {
        return NumberKind::Date;
    }
    if (id == 22) {
        return NumberKind::DateTime;
    }
    if (id == 46) {
        return NumberKind::Duration; // [h]:mm:ss
    }
    if ((id >= 18 && id <= 21) || id == 32 || id == 33 || id == 45 || id == 47) {
        return NumberKind::Time;
    }
    return NumberKind::Number;
}

} // namespace ExcelValueText
