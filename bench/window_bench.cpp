// The database window's own cost: building, laying out and painting it against a bare main
// window with the same menu bar, and one keystroke in the edit bar (the cell changed,
// journalled and its column redrawn), which must not grow with the table.
#include "gridview/List.h"
#include "settings/AppFolder.h"
#include "settings/SettingsRecord.h"
#include "ui/database/DatabaseMenus.h"
#include "ui/database/DatabaseSession.h"
#include "ui/database/frmItems.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <memory>

namespace {

constexpr int Columns = 8;

AppFolder scratchFolder() {
    static QTemporaryDir folder;
    return AppFolder(folder.path());
}

void BM_CreateLayOutAndPaintWindow(benchmark::State& state) {
    SettingsRecord settings;
    DatabaseSession session{settings, scratchFolder()};
    for (auto _ : state) {
        frmItems window(session);
        window.resize(640, 480);
        window.Reposition();
        benchmark::DoNotOptimize(window.grab().cacheKey());
    }
}

void BM_Baseline_BareMainWindowWithTheMenus(benchmark::State& state) {
    for (auto _ : state) {
        QMainWindow window;
        DatabaseMenus::build(*window.menuBar());
        window.resize(640, 480);
        benchmark::DoNotOptimize(window.grab().cacheKey());
    }
}

// A shown window over a table of `rows` x 8 short texts, the edit bar focused on row 1.
struct TypingWindow {
    explicit TypingWindow(int rows) : window(session) {
        window.resize(800, 600);
        window.show();
        QApplication::setActiveWindow(&window);
        if (!QTest::qWaitForWindowActive(&window)) {
            std::abort();
        }
        List& list = window.List1();
        Table& table = list.table();
        for (int c = 2; c <= Columns; ++c) {
            list.AddColumn(0, 80, QStringLiteral("C%1").arg(c));
        }
        list.AddMoreThanOneRow(rows - list.ListCount());
        for (int r = 1; r <= rows; ++r) {
            for (int c = 1; c <= Columns; ++c) {
                table.setCellText(r, c, QStringLiteral("r%1c%2").arg(r).arg(c));
            }
        }
        list.ClearUndoRedo();
        list.SelectItem(1, 1, 2);
        list.COLUMNUMBER();
        editBar = window.findChild<QLineEdit*>(QStringLiteral("TextText"));
        editBar->setFocus();
        QApplication::processEvents();
    }

    SettingsRecord settings;
    DatabaseSession session{settings, scratchFolder()};
    frmItems window;
    QLineEdit* editBar = nullptr;
};

void typeOneKey(benchmark::State& state, int rows) {
    static std::unique_ptr<TypingWindow> typing;
    typing = std::make_unique<TypingWindow>(rows);
    for (auto _ : state) {
        QTest::keyClick(typing->editBar, Qt::Key_X);
        state.PauseTiming();
        // The edit bar shows the current cell, row 1 column 2; the key replaced its text.
        if (typing->window.List1().GetItem(1, 2) != u"x") {
            state.SkipWithError("the keystroke did not reach the cell");
            break;
        }
        QTest::keyClick(typing->editBar, Qt::Key_Backspace);
        state.ResumeTiming();
    }
    if (typing->window.List1().table().UndoStore().empty()) {
        state.SkipWithError("the keystrokes were not journalled");
    }
    typing.reset();
}

void BM_EditBarKeystroke_500000Rows(benchmark::State& state) {
    typeOneKey(state, 500000);
}

void BM_EditBarKeystroke_100Rows(benchmark::State& state) {
    typeOneKey(state, 100);
}

} // namespace

BENCHMARK(BM_CreateLayOutAndPaintWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_BareMainWindowWithTheMenus)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditBarKeystroke_500000Rows)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditBarKeystroke_100Rows)->Unit(benchmark::kMicrosecond);
