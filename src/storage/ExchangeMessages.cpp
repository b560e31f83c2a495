#include "ExchangeMessages.h"

namespace ExchangeMessages {
namespace {

const QString kExcelErrorTitle = QStringLiteral("Brevant      Excel Error");

QString title() {
    return QString::fromUtf16(ApplicationTitle);
}

} // namespace

ExchangeMessage windowExcelUnavailable() {
    return {QStringLiteral("QEL 2005 failed to initialize Microsoft Excel when started "),
            kExcelErrorTitle, ExchangeMessage::Icon::Error, ExchangeMessage::Buttons::Ok};
}

ExchangeMessage windowTooLargeForExport(int rowCount) {
    return {
        QStringLiteral("Your database is larger then what Microsoft Excel is able to accept ( ") +
            QString::number(rowCount) + QStringLiteral(" rows )"),
        title(), ExchangeMessage::Icon::Error, ExchangeMessage::Buttons::Ok};
}

ExchangeMessage rowLimitExceeded() {
    return {QStringLiteral("QEL 2005 for Excel can't exceed Microsoft Excel row limitation!"),
            title(), ExchangeMessage::Icon::Error, ExchangeMessage::Buttons::Ok};
}

ExchangeMessage listExcelUnavailable() {
    return {title() + QStringLiteral(" failed to initialize Microsoft Excel when started "),
            kExcelErrorTitle, ExchangeMessage::Icon::Error, ExchangeMessage::Buttons::Ok};
}

ExchangeMessage listTooLargeForExport() {
    return {title() + QStringLiteral(" Database is larger then Microsoft Excel "), kExcelErrorTitle,
            ExchangeMessage::Icon::Error, ExchangeMessage::Buttons::Ok};
}

ExchangeMessage textsCut(int count) {
    return {QString::number(count) +
                QStringLiteral(" cell text(s) longer than 32767 characters were exported cut to "
                               "that length, the most a spreadsheet cell holds."),
            title(), ExchangeMessage::Icon::Information, ExchangeMessage::Buttons::Ok};
}

} // namespace ExchangeMessages
