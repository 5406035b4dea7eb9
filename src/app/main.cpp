#include "Launch.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    Launch launch;
    if (!launch.start(QApplication::arguments()))
        return 1;
    return QApplication::exec();
}
