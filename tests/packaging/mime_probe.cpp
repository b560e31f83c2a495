// Prints the file type the shared-mime-info database (as XDG_DATA_DIRS finds it) gives to each
// file name on the command line, one per line.
#include <QCoreApplication>
#include <QMimeDatabase>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QMimeDatabase database;
    for (const QString& name : app.arguments().mid(1)) {
        out << database.mimeTypeForFile(name, QMimeDatabase::MatchExtension).name() << '\n';
    }
    return 0;
}
