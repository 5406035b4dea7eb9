#include "Help.h"

#include "MessageBox.h"
#include "paint/RtfReader.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QShowEvent>
#include <QTextEdit>
#include <QVBoxLayout>

TFrmHelp::TFrmHelp(QWidget* parent) : QDialog(parent) {
    setObjectName("FrmHelp");
    setWindowTitle(QStringLiteral("Help File"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setModal(false);
    RTFHelp = new QTextEdit;
    RTFHelp->setObjectName("RTFHelp");
    RTFHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RTFHelp->setLineWrapMode(QTextEdit::WidgetWidth);
    RTFHelp->setAcceptRichText(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(RTFHelp);
    setFixedSize(775, 513);
}

void TFrmHelp::showHelp() {
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    show();
}

void TFrmHelp::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // restored from the task bar: no new showing
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    FormShow();
}

void TFrmHelp::FormShow() {
    // Read at every showing: a file replaced meanwhile shows, and typing is forgotten. The working
    // directory's comes first; an installed program started from a menu has its own beside it,
    // in share/kalvora, which no working directory need hold.
    QFile file(QString::fromLatin1(FileName));
    if (!file.exists())
        file.setFileName(QDir(QCoreApplication::applicationDirPath())
                             .absoluteFilePath(QStringLiteral("../share/kalvora/") + QString::fromLatin1(FileName)));
    if (!file.open(QIODevice::ReadOnly)) {
        MessageBox::commandError(this, QStringLiteral("Cannot open file %1").arg(QString::fromLatin1(FileName)));
        return;
    }
    Rtf::read(file.readAll(), *RTFHelp->document());
    RTFHelp->moveCursor(QTextCursor::Start);
}
