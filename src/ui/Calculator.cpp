#include "Calculator.h"

#include "Placement.h"
#include "PocketCalculator.h"

#include <QFontMetrics>
#include <QVBoxLayout>

#include <algorithm>

TFrmCalculator::TFrmCalculator(QWidget* parent) : QDialog(parent) {
    setObjectName("FrmCalculator");
    setWindowTitle(QStringLiteral("Parameter Calculator"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    PocketCalculator1 = new TPocketCalculator(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PocketCalculator1);
    // Wide enough for the window manager to write the caption whole beside its buttons, whatever
    // its title font (allowed for as a quarter larger and bold).
    QFont title = font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.25);
    const int captionWidth = QFontMetrics(title).horizontalAdvance(windowTitle()) + 110;
    setFixedSize(std::max(PocketCalculator1->sizeHint().width(), captionWidth), PocketCalculator1->sizeHint().height());
    PocketCalculator1->setFocus();
}

void TFrmCalculator::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOverParent(this);
}
