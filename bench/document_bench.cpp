// The database window's document commands against the grid's own file operations: opening a
// 500,000 x 8 file through the window (progress frame, repaints, editing enabled) and saving
// it again must cost little more than List::OpenFile and List::SaveFile alone.
#include "gridview/List.h"
#include "qelfile/DatabaseFile.h"
#include "settings/SettingsRecord.h"
#include "table/Table.h"
#include "ui/database/DatabaseSession.h"
#include "ui/database/frmItems.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QToolButton>

#include <cstdlib>
#include <memory>

namespace {

constexpr int kRows = 500000;
constexpr int kColumns = 8;

// Stands in for the set-password dialog when the file is first written: no password.
class NoPassword final : public PasswordPrompts {
public:
    bool checkPassword(const QString&) override { return true; }
    std::optional<QString> askNewPassword() override { return QString(NoPasswordMarker); }
    void announceSaved() override {}
};

// A stored file of 500,000 x 8 short texts with the no-password marker, written once.
const QString& databasePath() {
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString file = folder.filePath(QStringLiteral("big.QEL"));
        Table table;
        for (int c = 2; c <= kColumns; ++c) {
            table.AddColumn(0, 80, QStringLiteral("C%1").arg(c));
        }
        table.resetRows(kRows);
        for (int r = 1; r <= kRows; ++r) {
            for (int c = 1; c <= kColumns; ++c) {
                table.setCellText(r, c, QStringLiteral("r%1c%2").arg(r).arg(c));
            }
        }
        NoPassword prompts;
        DatabaseFile writer(table, &prompts);
        if (!writer.SaveFileAs(file, true).ok()) {
            std::abort();
        }
        return file;
    }();
    return path;
}

struct WindowFixture {
    WindowFixture() : session{settings, AppFolder(folder.path())}, window(session) {
        window.resize(800, 600);
        window.show();
        QApplication::processEvents();
    }
    QTemporaryDir folder;
    SettingsRecord settings;
    DatabaseSession session;
    frmItems window;
};

void BM_OpenThroughTheWindow(benchmark::State& state) {
    const QString& path = databasePath();
    WindowFixture fixture;
    for (auto _ : state) {
        fixture.window.openFile(path);
        if (fixture.window.List1().ListCount() != kRows) {
            state.SkipWithError("the file was not opened");
        }
    }
}

void BM_OpenWithTheGridAlone(benchmark::State& state) {
    const QString& path = databasePath();
    List list;
    list.resize(800, 560);
    list.show();
    NoPassword prompts;
    list.setPasswordPrompts(&prompts);
    for (auto _ : state) {
        if (!list.OpenFile(path).ok()) {
            state.SkipWithError("the file was not opened");
        }
    }
}

void BM_SaveThroughTheWindow(benchmark::State& state) {
    WindowFixture fixture;
    fixture.window.openFile(databasePath());
    auto* saveButton = fixture.window.findChild<QToolButton*>(QStringLiteral("cmdSave"));
    for (auto _ : state) {
        fixture.window.List1().ChangeItem(1, 1, QStringLiteral("changed"));
        saveButton->click();
        if (fixture.window.lblChangeStatus() != u"0") {
            state.SkipWithError("the file was not saved");
        }
    }
}

void BM_SaveWithTheGridAlone(benchmark::State& state) {
    List list;
    NoPassword prompts;
    list.setPasswordPrompts(&prompts);
    if (!list.OpenFile(databasePath()).ok()) {
        std::abort();
    }
    for (auto _ : state) {
        list.ChangeItem(1, 1, QStringLiteral("changed"));
        if (!list.SaveFile(databasePath(), true).ok()) {
            state.SkipWithError("the file was not saved");
        }
    }
}

} // namespace

BENCHMARK(BM_OpenThroughTheWindow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenWithTheGridAlone)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveThroughTheWindow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveWithTheGridAlone)->Unit(benchmark::kMillisecond)->UseRealTime();
