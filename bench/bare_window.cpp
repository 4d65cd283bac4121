// The smallest Qt + QScintilla program: the start-up time every editor pays at least.
#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare window"));
    window.setCentralWidget(new QsciScintilla);
    window.resize(1032, 746);
    window.show();
    return app.exec();
}
