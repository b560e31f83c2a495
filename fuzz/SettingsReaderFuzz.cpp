// Fuzzes the settings file reader: any bytes, decoded as the stored settings file (or, failing
// that, as a plain one). Beyond not crashing, the record read must be stable: writing it and
// decoding that must give the same record, read in its stored form.
#include "settings/SettingsFile.h"
#include "settings/SettingsRecord.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
    SettingsRecord first;
    (void)SettingsFile::decode(input, first);
    const QByteArray written = SettingsFile::encode(first);
    SettingsRecord second;
    if (SettingsFile::decode(written, second) != SettingsFile::ReadOutcome::Read ||
        !(second == first) || SettingsFile::encode(second) != written) {
        std::abort();
    }
    return 0;
}
