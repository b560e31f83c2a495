// Test functions that break their script on purpose. tst_scriptedplatform runs each one in its
// own process and checks that it fails, says why, and ends.
#include "ScriptedPlatform.h"

#include <QTest>

class ScriptedPlatformProbe : public QObject {
    Q_OBJECT
private slots:
    void unexpectedMessageBox() {
        ScriptedPlatform platform;
        Platform::current().messageBox({.text = QStringLiteral("Surprise")});
    }
    void wrongKindOfDialog() {
        ScriptedPlatform platform;
        platform.answerInputBox(QStringLiteral("12"));
        Platform::current().messageBox({.text = QStringLiteral("Surprise")});
        platform.verifyAllAnswered();
    }
    void unusedAnswer() {
        ScriptedPlatform platform;
        platform.answerSaveDialog(QStringLiteral("/tmp/a.QEL"));
    }
};

QTEST_MAIN(ScriptedPlatformProbe)
#include "scripted_platform_probe.moc"
