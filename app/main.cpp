#include "gridview/List.h"
#include "platform/QtPlatform.h"
#include "text/ApplicationTitle.h"

#include <QApplication>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QtPlatform platform;
    Platform::install(&platform);
    QWidget window;
    window.setWindowTitle(applicationTitle());
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* grid = new List(&window);
    layout->addWidget(grid);
    // The new-table shape the database window gives a fresh grid: one column "A", 30 records.
    grid->AddColumn(1, 220, QStringLiteral("A"));
    grid->AddMoreThanOneRow(29);
    grid->RemoveColumn(2);
    grid->ClearUndoRedo();
    window.resize(640, 480);
    window.show();
    return app.exec();
}
