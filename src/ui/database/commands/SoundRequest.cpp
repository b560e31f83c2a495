#include "ui/database/commands/SoundRequest.h"

#include "platform/Platform.h"
#include "settings/AppFolder.h"
#include "settings/FileChecks.h"

namespace SoundRequest {

QString soundFile(const AppFolder& folder) {
    return folder.soundFolder() + QStringLiteral("/2.wav");
}

void make(const AppFolder& folder, Platform& platform) {
    const QString path = soundFile(folder);
    if (General::FileExists(path)) {
        platform.playSound(path);
    }
}

} // namespace SoundRequest
