#include "ui/Unit1.h"
#include "Look.h"
#include "Startup.h"
#include "Title.h"
#include "components/Database.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The application title is the main window's and the error boxes' own caption; set as
    // Qt's display name it would be appended to every window's caption.
    QApplication::setApplicationName(QString::fromUtf8(ApplicationTitle));
    setUpLook();

    Program program(Database::folderFor(QStringLiteral("Data")));
    if (!program.start())
        return 1;
    return QApplication::exec();
}
