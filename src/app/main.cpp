#include "../Unit1.h"
#include "Fonts.h"
#include "Startup.h"
#include "Title.h"
#include "components/Database.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalvora"));
    QApplication::setApplicationDisplayName(QString::fromUtf8(ApplicationTitle));
    installFontSubstitutes();

    Program program(Database::folderFor(QStringLiteral("Data")));
    if (!program.start())
        return 1;
    return QApplication::exec();
}
