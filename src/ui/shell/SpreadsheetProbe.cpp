#include "ui/shell/SpreadsheetProbe.h"

#include "exchange/ExcelApplication.h"
#include "platform/Platform.h"
#include "settings/AppFolder.h"
#include "settings/SettingsRecord.h"

#include <QFile>

namespace SpreadsheetProbe {

bool canStart(const ExcelEnvironment& environment) {
    std::unique_ptr<ExcelApplication> excel = ExcelApplication::create(environment);
    if (!excel) {
        return false;
    }
    (void)excel->setVisible(false); // hiding writes nothing
    excel->setDisplayAlerts(false);
    excel->Quit();
    return true;
}

Probe forApplication(const AppFolder& folder, Platform& platform) {
    return [tempFolder = folder.tempFolder(), &platform] {
        ExcelEnvironment environment;
        environment.documentsFolder = platform.documentsFolder();
        environment.tempFolder = tempFolder;
        return canStart(environment);
    };
}

QString markerFile(const AppFolder& folder) {
    return folder.tempFolder() + QStringLiteral("/Temp.tmp");
}

void startUp(SettingsRecord& settings, const AppFolder& folder, Platform& platform,
             const Probe& probe) {
    if (probe()) {
        settings.lblEXCELSTATUS = QStringLiteral("RADI");
        return;
    }
    settings.lblEXCELSTATUS = QStringLiteral("NERADI");
    platform.messageBox(
        {.text = QStringLiteral("QeL 2005 failed to initialize Microsoft Excel. You can still "
                                "continue to use Mabe but your export to excel buttons will not "
                                "be available"),
         .title = QStringLiteral("Brevant      Excel Error"),
         .icon = MessageIcon::Critical});
    QFile marker(markerFile(folder));
    if (marker.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        marker.write("ERROR");
    }
}

} // namespace SpreadsheetProbe
