#include "../Unit1.h"
#include "Fonts.h"
#include "Startup.h"
#include "Title.h"
#include "components/Database.h"

#include <QApplication>
#include <QComboBox>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalvora"));
    QApplication::setApplicationDisplayName(QString::fromUtf8(ApplicationTitle));
    installFontSubstitutes();

    TForm1 form;
    std::unique_ptr<Session> session = openSession(form, Database::folderFor(QStringLiteral("Data")));
    if (!session)
        return 1;
    form.show();
    form.CBResinType->setFocus();
    const int rc = QApplication::exec();
    form.attach(nullptr);
    session.reset();
    return rc;
}
