#include <QGuiApplication>
#include <QLocale>
#include <gtest/gtest.h>

namespace {

QLocale s_locale = QLocale::c();

class LocalePerTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { QLocale::setDefault(s_locale); }
};

// A warning Qt prints fails the test: painting a report prints none.
void failOnWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
    fprintf(stderr, "%s\n", qPrintable(message));
    if (type == QtDebugMsg || type == QtInfoMsg || message.startsWith(QLatin1String("QStandardPaths:")))
        return;
    if (::testing::UnitTest::GetInstance()->current_test_info())
        ADD_FAILURE() << "Qt printed: " << message.toStdString();
}

} // namespace

// Painting needs fonts and paint devices but no window: a GUI application on the offscreen
// platform. --locale=de_DE runs the tests under a decimal comma.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    for (int i = 1; i < argc; ++i)
        if (QByteArray(argv[i]).startsWith("--locale="))
            s_locale = QLocale(QString::fromLatin1(argv[i] + 9));
    qInstallMessageHandler(failOnWarnings);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new LocalePerTest);
    return RUN_ALL_TESTS();
}
