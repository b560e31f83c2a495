#pragma once

#include "settings/AppFolder.h"
#include "settings/SettingsRecord.h"
#include "text/FileResult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>
#include <QtGlobal>

/// The settings file "System/0.dat": 22 lines, one per stored field of SettingsRecord, each
/// ended by CR LF, stored with bit 7 of every byte inverted. Texts are written as UTF-8 and read
/// as UTF-8, or as Windows-1250 where a line is not valid UTF-8.
namespace SettingsFile {

/// The number of lines the file holds; more are ignored.
inline constexpr int LineCount = 22;
/// The most that is read of the file. Its 22 lines take a few KiB even with long paths, so
/// whatever lies beyond can only be lines after the 22nd or a file that is not ours.
inline constexpr qsizetype MaxFileBytes = 1024 * 1024;

/// What reading found.
enum class ReadOutcome {
    /// No usable file (missing, or refused with a reason): the stored fields took their
    /// defaults.
    Defaults,
    /// The file in its stored form.
    Read,
    /// The file was in plain form (never transformed); it has been written back in stored
    /// form.
    RecoveredFromPlain,
    /// Neither form gives a numeric database window height: the stored fields took their
    /// defaults, and the file is left as it is until the next write replaces it.
    Damaged,
};

/// How ReadSettings ended. `file` fails when the file could not be read (the outcome is then
/// Defaults) or when a recovered file could not be written back (the record was still read).
struct [[nodiscard]] ReadResult {
    ReadOutcome outcome = ReadOutcome::Defaults;
    FileResult file;
};

/// Bit 7 of every byte inverted: the stored form of plain bytes, and the plain form of stored
/// ones.
QByteArray flipped(QByteArrayView bytes);

/// True when the text is a decimal number: optional blanks around an optional sign, digits,
/// and at most one decimal point. This is how a good file is told from one read in the wrong
/// form.
bool isNumber(QStringView text);

/// The record's file as it is stored. A CR inside a field is left out, since it would end the
/// line there and shift every later field; a lone LF stays in its line.
QByteArray encode(const SettingsRecord& record);

/// Reads stored bytes into the record's stored fields (lblEXCELSTATUS is never touched): as
/// stored when that gives a numeric database window height, otherwise as plain bytes when
/// that does (RecoveredFromPlain), otherwise the fields take their defaults (Damaged). Lines
/// end at CR LF or at a CR alone; a lone LF belongs to its line. Lines after the 22nd are
/// ignored; a shorter file repeats its last line into the remaining fields (empty when there
/// is none). Line 22 exactly "1" means database passwords are enabled.
ReadOutcome decode(QByteArrayView stored, SettingsRecord& record);

/// Writes the record atomically in stored form, readable and writable by its owner only: a
/// failed write leaves the old file as it was.
FileResult WriteSettings(const AppFolder& folder, const SettingsRecord& record);

/// Empties the Temp folder, then reads the settings file into the record's stored fields. A
/// file found in plain form is written back in stored form; no other read writes. Only a
/// regular file is read, and no more than MaxFileBytes of it.
ReadResult ReadSettings(const AppFolder& folder, SettingsRecord& record);

} // namespace SettingsFile
