#include "About.h"

#include "Placement.h"
#include "app/Title.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QSvgRenderer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QFont pointFont(int points, bool bold) {
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutBox");
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    // A black panel: raised inner bevel inside a lowered outer one.
    auto* outer = new QFrame;
    outer->setObjectName("Panel1");
    outer->setFixedSize(303, 199);
    outer->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    outer->setLineWidth(1);
    auto* inner = new QFrame;
    inner->setFrameStyle(QFrame::Panel | QFrame::Raised);
    inner->setLineWidth(1);
    inner->setAutoFillBackground(true);
    QPalette black = inner->palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::WindowText, Qt::white);
    inner->setPalette(black);
    auto* outerLayout = new QVBoxLayout(outer);
    outerLayout->setContentsMargins(1, 1, 1, 1);
    outerLayout->addWidget(inner);

    ProgramIcon = new QLabel;
    ProgramIcon->setObjectName("ProgramIcon");
    ProgramIcon->setFixedSize(275, 66);
    ProgramIcon->setAlignment(Qt::AlignCenter);
    QPixmap picture(ProgramIcon->size() * devicePixelRatioF());
    picture.setDevicePixelRatio(devicePixelRatioF());
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        QSvgRenderer(QStringLiteral(":/logos/about.svg")).render(&painter, QRectF(QPointF(), ProgramIcon->size()));
    }
    ProgramIcon->setPixmap(picture);
    ProductName = new QLabel(QStringLiteral("Kalvora Lite Version"));
    ProductName->setObjectName("ProductName");
    ProductName->setFont(pointFont(14, true));
    Version = new QLabel(QStringLiteral("Version: ") + QString::fromUtf8(ApplicationVersion));
    Version->setObjectName("Version");
    Version->setFont(pointFont(10, true));
    auto* column = new QVBoxLayout(inner);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(8);
    column->addWidget(ProgramIcon, 0, Qt::AlignHCenter);
    column->addSpacing(10);
    column->addWidget(ProductName, 0, Qt::AlignHCenter);
    column->addWidget(Version, 0, Qt::AlignLeft);
    column->addStretch(1);

    // The notice the GPL asks an interactive program to show.
    Licence = new QLabel(QStringLiteral(
        "Copyright \u00A9 2026 the Kalvora developers.<br>"
        "This program comes with ABSOLUTELY NO WARRANTY. It is free software: you may redistribute "
        "it and modify it under the terms of the GNU General Public License, version 3 or (at your "
        "option) any later version (GPL-3.0-or-later).<br>"
        "It uses Qt and Qt Charts under their licences (the LGPL-3.0 and the GPL-3.0)."));
    Licence->setObjectName("Licence");
    Licence->setWordWrap(true);
    Licence->setFixedWidth(303);
    Licence->setFont(pointFont(8, false));
    Licence->setTextInteractionFlags(Qt::TextSelectableByMouse);

    OKButton = new QPushButton(QStringLiteral("OK"));
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(9, 8, 9, 8);
    layout->addWidget(outer, 0, Qt::AlignHCenter);
    layout->addWidget(Licence, 0, Qt::AlignHCenter);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    // The product box as it always was, and room under it for the notice.
    setFixedSize(322, 239 + Licence->heightForWidth(303) + layout->spacing());
}

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOverParent(this);
}
