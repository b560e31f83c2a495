#include "settings/SettingsFile.h"

#include "text/TextEncoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

#include <array>

namespace SettingsFile {
namespace {

constexpr int TextLineCount = LineCount - 1;

// Fields 1 to 21 in line order; line 22 is DatabasePassword as "1" or "0".
template <typename Record> auto textFields(Record& r) {
    return std::array<decltype(&r.CURRENTPASSWORD), TextLineCount>{
        &r.frmItemsWindowState,
        &r.frmItemsHeight,
        &r.frmItemsWidth,
        &r.frmItemsLeft,
        &r.frmItemsTop,
        &r.frmItemstoolbarchecked,
        &r.frmItemstextbarchecked,
        &r.frmItemsfile[0].path,
        &r.frmItemsfile[0].name,
        &r.frmItemsfile[1].path,
        &r.frmItemsfile[1].name,
        &r.frmItemsfile[2].path,
        &r.frmItemsfile[2].name,
        &r.frmFileSearchWindowState,
        &r.frmFileSearchHeight,
        &r.frmFileSearchWidth,
        &r.frmFileSearchLeft,
        &r.frmFileSearchTop,
        &r.frmFileSearchtoolbarchecked,
        &r.frmFileSearchtextbarchecked,
        &r.CURRENTPASSWORD,
    };
}

// The first `count` lines. A line ends at CR LF or at a CR alone, as in the database files; a
// lone LF belongs to its line. A last line without a line end counts when it is not empty.
QList<QByteArrayView> firstLines(QByteArrayView plain, int count) {
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    while (lines.size() < count && start < plain.size()) {
        const qsizetype cr = plain.indexOf('\r', start);
        if (cr < 0) {
            lines.append(plain.sliced(start));
            break;
        }
        lines.append(plain.sliced(start, cr - start));
        start = cr + 1;
        if (start < plain.size() && plain[start] == '\n') {
            ++start;
        }
    }
    return lines;
}

// Reads the plain lines into the stored fields. Each line goes through one holding value
// that keeps the last line read once the file has ended.
void readLines(QByteArrayView plain, SettingsRecord& record) {
    const QList<QByteArrayView> lines = firstLines(plain, LineCount);
    QString holding;
    int next = 0;
    const auto readNext = [&] {
        if (next < lines.size()) {
            holding = TextEncoding::decodeUtf8OrWindows1250(lines[next]);
        }
        ++next;
    };
    for (QString* field : textFields(record)) {
        readNext();
        *field = holding;
    }
    readNext();
    record.DatabasePassword =
        holding == u"1" ? QStringLiteral("Enabled") : QStringLiteral("Disabled");
}

void takeDefaults(SettingsRecord& record) {
    const SettingsRecord defaults;
    const auto from = textFields(defaults);
    const auto to = textFields(record);
    for (int i = 0; i < TextLineCount; ++i) {
        *to[i] = *from[i];
    }
    record.DatabasePassword = defaults.DatabasePassword;
}

} // namespace

QByteArray flipped(QByteArrayView bytes) {
    QByteArray out(bytes.size(), Qt::Uninitialized);
    char* p = out.data();
    for (char c : bytes) {
        *p++ = char(static_cast<unsigned char>(c) ^ 0x80u);
    }
    return out;
}

bool isNumber(QStringView text) {
    text = text.trimmed();
    if (text.startsWith(u'+') || text.startsWith(u'-')) {
        text = text.sliced(1).trimmed();
    }
    bool digit = false;
    bool point = false;
    for (QChar c : text) {
        if (c >= u'0' && c <= u'9') {
            digit = true;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

QByteArray encode(const SettingsRecord& record) {
    QByteArray plain;
    for (const QString* field : textFields(record)) {
        QByteArray line = field->toUtf8();
        line.replace('\r', QByteArrayView());
        plain += line;
        plain += "\r\n";
    }
    plain += record.databasePasswordEnabled() ? "1\r\n" : "0\r\n";
    return flipped(plain);
}

ReadOutcome decode(QByteArrayView stored, SettingsRecord& record) {
    SettingsRecord read = record;
    readLines(flipped(stored), read);
    if (isNumber(read.frmItemsHeight)) {
        record = std::move(read);
        return ReadOutcome::Read;
    }
    // Left untransformed, for instance by a writer stopped half-way.
    readLines(stored, read);
    if (isNumber(read.frmItemsHeight)) {
        record = std::move(read);
        return ReadOutcome::RecoveredFromPlain;
    }
    // Junk read as CURRENTPASSWORD would lock the user out; the defaults never do.
    takeDefaults(record);
    return ReadOutcome::Damaged;
}

FileResult WriteSettings(const AppFolder& folder, const SettingsRecord& record) {
    const QString path = folder.settingsFile();
    // The run's settings are worth the folder, should it have gone since the start.
    QDir().mkpath(folder.systemFolder());
    QSaveFile file(path);
    // Unbuffered: a short write while commit() flushes a buffer goes unnoticed and commits a
    // cut file; written here, every short write shows, and the next one gives the reason.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return FileResult::cannotWrite(path, file.errorString());
    }
    // It holds the general password in a form anyone can undo.
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        file.cancelWriting();
        return FileResult::cannotWrite(path, QStringLiteral("Cannot restrict its permissions"));
    }
    const QByteArray bytes = encode(record);
    for (qsizetype written = 0; written < bytes.size();) {
        const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
        if (count <= 0) {
            const QString why = file.errorString();
            file.cancelWriting();
            return FileResult::cannotWrite(path, why);
        }
        written += count;
    }
    if (!file.commit()) {
        return FileResult::cannotWrite(path, file.errorString());
    }
    return FileResult::done(path);
}

ReadResult ReadSettings(const AppFolder& folder, SettingsRecord& record) {
    folder.EmptyTempFolder();
    const QString path = folder.settingsFile();
    const auto defaults = [&](FileResult why) {
        takeDefaults(record);
        return ReadResult{ReadOutcome::Defaults, std::move(why)};
    };
    const QFileInfo info(path);
    if (!info.exists()) {
        return defaults(FileResult::done(path));
    }
    // A device or a pipe could block or never end.
    if (!info.isFile()) {
        return defaults(FileResult::cannotRead(path, QStringLiteral("Not a file")));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return defaults(FileResult::cannotRead(path, file.errorString()));
    }
    const QByteArray bytes = file.read(MaxFileBytes);
    if (file.error() != QFileDevice::NoError) {
        return defaults(FileResult::cannotRead(path, file.errorString()));
    }
    file.close();
    const ReadOutcome outcome = decode(bytes, record);
    if (outcome == ReadOutcome::RecoveredFromPlain) {
        return {outcome, WriteSettings(folder, record)};
    }
    return {outcome, FileResult::done(path)};
}

} // namespace SettingsFile
