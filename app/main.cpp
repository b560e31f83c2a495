#include <QApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QTextStream(stdout) << "Qel 2005: the table core is being built; there is no window yet.\n";
    return 0;
}
