#include "Calculator.h"

#include "components/Placement.h"
#include "components/PocketCalculator.h"

#include <QVBoxLayout>

TFrmCalculator::TFrmCalculator(QWidget* parent) : QDialog(parent) {
    setObjectName("FrmCalculator");
    setWindowTitle(QStringLiteral("Parameter Calculator"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    PocketCalculator1 = new TPocketCalculator(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PocketCalculator1);
    setFixedSize(PocketCalculator1->sizeHint());
    PocketCalculator1->setFocus();
}

void TFrmCalculator::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOverParent(this);
}
