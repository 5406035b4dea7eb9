#include "Launch.h"

#include "DataLocation.h"
#include "Look.h"
#include "Title.h"
#include "ui/MessageBox.h"
#include "ui/StatusPanels.h"
#include "ui/Unit1.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

bool Launch::start(const QStringList& arguments) {
    // The application title is the main window's and the error boxes' own caption; set as
    // Qt's display name it would be appended to every window's caption. It also names the
    // user's folders.
    QApplication::setApplicationName(QString::fromUtf8(ApplicationTitle));
    QApplication::setApplicationVersion(QString::fromUtf8(ApplicationVersion));

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Formulates alkyd and polyester resins."));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption data(QStringLiteral("data"),
                                  QStringLiteral("Opens the tables in FOLDER, which must exist, instead of the usual "
                                                 "Data folder."),
                                  QStringLiteral("FOLDER"));
    options.addOption(data);
    options.addPositionalArgument(QStringLiteral("recipe"), QStringLiteral("A recipe exchange file to import at start."),
                                  QStringLiteral("[recipe.kalvora-recipe]"));
    options.process(arguments);
    setUpLook();

    const DataLocation where = locateData(placesOfThisProcess(options.value(data)));
    if (!where.error.isEmpty()) {
        // Said where it was started from too: a terminal shows it, a menu the box.
        fprintf(stderr, "%s\n", qPrintable(where.error));
        MessageBox::show(nullptr, QMessageBox::Critical, QStringLiteral("Application Error"), where.error,
                         QMessageBox::Ok, QMessageBox::Ok);
        return false;
    }
    m_program = std::make_unique<Program>(where.folder);
    if (!m_program->start())
        return false;
    if (!where.seededNote.isEmpty())
        m_program->form().StatusBar1->showNote(where.seededNote);
    if (!options.positionalArguments().isEmpty())
        m_program->form().importFile(options.positionalArguments().constFirst());
    return true;
}
