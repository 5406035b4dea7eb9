#include "GuiTests.h"

#include "app/Look.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>
#include <gtest/gtest.h>

namespace {

// Every test states the boxes it expects (MessageBox::setNextAnswer): any other box fails it,
// and so does a box it expected that never came. A warning Qt prints fails it too: normal use
// prints none.
class Strictness : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        // Nothing remembered from another test, nor from the machine's user.
        s_settings = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, s_settings->path());
        MessageBox::takeUnusedAnswers();
        FileDialog::takeUnusedAnswers();
        MessageBox::clearHistory();
        QLocale::setDefault(s_locale);
    }
    void OnTestEnd(const ::testing::TestInfo& info) override {
        if (info.result()->Failed()) {
            MessageBox::takeUnusedAnswers();
            FileDialog::takeUnusedAnswers();
            return;
        }
        if (const int unused = MessageBox::takeUnusedAnswers())
            ADD_FAILURE() << unused << " expected box(es) never shown";
        if (const int unused = FileDialog::takeUnusedAnswers())
            ADD_FAILURE() << unused << " expected file question(s) never asked";
    }

public:
    static inline QLocale s_locale;
    static inline std::unique_ptr<QTemporaryDir> s_settings;
};

void failOnWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
    fprintf(stderr, "%s\n", qPrintable(message));
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    // The test machine's environment and the offscreen platform's limits, not the program.
    if (message.startsWith(QLatin1String("QStandardPaths:")) ||
        message.contains(QLatin1String("does not support propagateSizeHints")) ||
        message.contains(QLatin1String("This plugin does not support raise()")))
        return;
    if (::testing::UnitTest::GetInstance()->current_test_info())
        ADD_FAILURE() << "Qt printed: " << message.toStdString();
}

} // namespace

int runGuiTests(int argc, char** argv) {
    // Test discovery runs the program outside CTest's environment: never look for a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Nor at the machine's printers: a print test names its own printer or none.
    if (qEnvironmentVariableIsEmpty("CUPS_SERVER"))
        qputenv("CUPS_SERVER", "/nonexistent/kalvora-test-cups.sock");
    QApplication app(argc, argv);
    setUpLook();
    // --locale=de_DE runs the same tests under another locale (German: decimal commas).
    Strictness::s_locale = QLocale::c();
    for (int i = 1; i < argc; ++i)
        if (QByteArray(argv[i]).startsWith("--locale="))
            Strictness::s_locale = QLocale(QString::fromLatin1(argv[i] + 9));
    MessageBox::setUnexpected([](const MessageBox::Shown& box) {
        ADD_FAILURE() << "an unexpected box \"" << box.title.toStdString() << "\": " << box.text.toStdString();
    });
    FileDialog::setUnexpected([](const QString& caption) {
        ADD_FAILURE() << "an unexpected file dialog \"" << caption.toStdString() << "\"";
    });
    qInstallMessageHandler(failOnWarnings);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new Strictness);
    return RUN_ALL_TESTS();
}
