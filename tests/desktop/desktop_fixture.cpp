// The files the desktop smoke test starts from, and its look into the file the application
// saved (which is stored scrambled):
//   desktop_fixture database FILE         a one-column database of three rows, no password
//   desktop_fixture settings FOLDER       an application folder whose settings turn database
//                                         passwords off, so a save asks for none
//   desktop_fixture cell FILE ROW COLUMN  prints the cell's text
//   desktop_fixture sample FILE           a small formatted catalogue, for screenshots
#include "qelfile/DatabaseFile.h"
#include "settings/AppFolder.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsRecord.h"
#include "table/Table.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <iterator>

namespace {

int fail(const QString& what) {
    std::fprintf(stderr, "desktop_fixture: %s\n", qPrintable(what));
    return 1;
}

int writeDatabase(const QString& path) {
    Table table;
    table.SetColumnHeader(1, QStringLiteral("Name"));
    table.resetRows(3);
    for (int row = 1; row <= 3; ++row) {
        table.setCellText(row, 1, QStringLiteral("row %1").arg(row));
    }
    const FileResult written = DatabaseFile(table).SaveFileAs(path, false);
    return written.ok() ? 0 : fail(written.reason);
}

int writeSettings(const QString& root) {
    const AppFolder folder(root);
    folder.EnsureFolders();
    SettingsRecord record;
    record.DatabasePassword = QStringLiteral("Disabled");
    const FileResult written = SettingsFile::WriteSettings(folder, record);
    return written.ok() ? 0 : fail(written.reason);
}

int writeSample(const QString& path) {
    struct Book {
        const char* title;
        const char* author;
        const char* year;
        const char* shelf;
    };
    const Book books[] = {
        {"Pride and Prejudice", "Jane Austen", "1813", "A3"},
        {"Moby-Dick", "Herman Melville", "1851", "B1"},
        {"Middlemarch", "George Eliot", "1871", "A4"},
        {"War and Peace", "Leo Tolstoy", "1869", "C2"},
        {"Great Expectations", "Charles Dickens", "1861", "A1"},
        {"Madame Bovary", "Gustave Flaubert", "1857", "C1"},
        {"The Brothers Karamazov", "Fyodor Dostoevsky", "1880", "C3"},
        {"Jane Eyre", "Charlotte Bronte", "1847", "A2"},
        {"Wuthering Heights", "Emily Bronte", "1847", "A2"},
        {"The Count of Monte Cristo", "Alexandre Dumas", "1844", "B4"},
        {"Bleak House", "Charles Dickens", "1853", "A1"},
        {"Anna Karenina", "Leo Tolstoy", "1878", "C2"},
    };
    Table table;
    table.SetColumnHeader(1, QStringLiteral("Title"));
    table.AddColumn(0, 0, QStringLiteral("Author"));
    table.AddColumn(0, 0, QStringLiteral("Year"));
    table.AddColumn(0, 0, QStringLiteral("Shelf"));
    table.LetWidthColumn(1, 190);
    table.LetWidthColumn(2, 140);
    table.LetWidthColumn(3, 50);
    table.LetWidthColumn(4, 50);
    table.resetRows(int(std::size(books)));
    int row = 1;
    for (const Book& book : books) {
        table.setCellText(row, 1, QString::fromUtf8(book.title));
        table.setCellText(row, 2, QString::fromUtf8(book.author));
        table.setCellText(row, 3, QString::fromUtf8(book.year));
        table.setCellText(row, 4, QString::fromUtf8(book.shelf));
        ++row;
    }
    // Colours are stored as 0x00BBGGRR.
    table.SetBold(1, 1, true);
    table.SetColor(2, 1, 0x000000C0);
    table.SetItallic(4, 2, true);
    table.SetUnderlined(7, 1, true);
    table.SetColor(10, 4, 0x00008000);
    table.SetBold(12, 3, true);
    const FileResult written = DatabaseFile(table).SaveFileAs(path, false);
    return written.ok() ? 0 : fail(written.reason);
}

int printCell(const QString& path, int row, int column) {
    Table table;
    const FileResult read = DatabaseFile(table).OpenFile(path);
    if (!read.ok()) {
        return fail(read.reason);
    }
    std::printf("%s\n", table.GetItem(row, column).toUtf8().constData());
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args[1] == u"database") {
        return writeDatabase(args[2]);
    }
    if (args.size() == 3 && args[1] == u"settings") {
        return writeSettings(args[2]);
    }
    if (args.size() == 3 && args[1] == u"sample") {
        return writeSample(args[2]);
    }
    if (args.size() == 5 && args[1] == u"cell") {
        return printCell(args[2], args[3].toInt(), args[4].toInt());
    }
    return fail(QStringLiteral(
        "usage: database FILE | settings FOLDER | cell FILE ROW COLUMN | sample FILE"));
}
