#include "text/FileResult.h"

FileResult FileResult::cannotRead(const QString& path, const QString& why) {
    return {Status::Failed, path, QStringLiteral("Cannot read \"%1\": %2").arg(path, why)};
}

FileResult FileResult::readInPart(const QString& path, const QString& why) {
    return {Status::Incomplete, path,
            QStringLiteral("Cannot read all of \"%1\": %2").arg(path, why)};
}

FileResult FileResult::cannotWrite(const QString& path, const QString& why) {
    return {Status::Failed, path, QStringLiteral("Cannot write \"%1\": %2").arg(path, why)};
}
