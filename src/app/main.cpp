// Program start. Until the main window exists this opens a small window that
// says so.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel placeholder("Sporvik 1.2\nThe main window is not built yet.");
    placeholder.setWindowTitle("Sporvik");
    placeholder.setMargin(24);
    placeholder.show();
    return app.exec();
}
