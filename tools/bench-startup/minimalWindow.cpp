// The smallest widgets program that shows what the valve program shows: one
// 800 x 479 frameless window at (0, 0).
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(800, 479);
    window.setWindowFlags(window.windowFlags() | Qt::FramelessWindowHint);
    window.move(0, 0);
    window.show();
    return app.exec();
}
