// The designer's entry point: the start-up sequence lives in TApplicationStart.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tintaro Print Kit   - Unbenannt"));
    window.show();
    return app.exec();
}
