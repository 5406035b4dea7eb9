#include "Unit1.h"

#include "DModUnit.h"
#include "components/MessageBox.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QFont arial(int pixels, bool bold) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QComboBox* recipeCombo(const QString& name, int maxLength) {
    auto* combo = new QComboBox;
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr); // the box's text is what the user typed, nothing completed
    combo->lineEdit()->setMaxLength(maxLength);
    combo->setFixedWidth(180);
    combo->setFont(arial(12, true));
    combo->setStyleSheet(QStringLiteral("QComboBox { background: aqua; }"));
    return combo;
}

} // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent), CBResinType(recipeCombo("CBResinType", 25)),
      CBResinCode(recipeCombo("CBResinCode", 15)), m_typeBox(CBResinType), m_codeBox(CBResinCode) {
    setObjectName("Form1");
    setWindowTitle(QStringLiteral("Orbent' Kalvora - Lite  Version"));
    setFont(arial(11, false));

    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(0);
    column->addWidget(buildHeaderRow1());
    column->addStretch(1);
    setCentralWidget(central);
    resize(792, 551);

    connect(CBResinType->lineEdit(), &QLineEdit::textEdited, this, &TForm1::CBResinTypeChange);
    connect(CBResinType, &QComboBox::activated, this, &TForm1::CBResinTypeChange);
    connect(CBResinCode->lineEdit(), &QLineEdit::textEdited, this, &TForm1::CBResinCodeChange);
    connect(CBResinCode, &QComboBox::activated, this, &TForm1::CBResinCodeChange);
    CBResinType->installEventFilter(this);
    CBResinType->setFocus();
}

TForm1::~TForm1() = default;

void TForm1::attach(TDMod* dmod) { m_dmod = dmod; }

QLabel* TForm1::headerLabel(const QString& text, int width) {
    auto* label = new QLabel(text);
    label->setFixedWidth(width);
    label->setFont(arial(11, true));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

QFrame* TForm1::silverBox(QWidget* content, int width) {
    auto* box = new QFrame;
    box->setFixedWidth(width);
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->setAutoFillBackground(true);
    QPalette p = box->palette();
    p.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    box->setPalette(p);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content, 0, Qt::AlignCenter);
    return box;
}

QWidget* TForm1::buildHeaderRow1() {
    auto* row = new QWidget;
    row->setFixedHeight(45);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(0);
    layout->addWidget(headerLabel(QStringLiteral("Resin Type"), 55));
    layout->addWidget(silverBox(CBResinType, 200));
    layout->addWidget(headerLabel(QStringLiteral("Batch Code"), 55));
    layout->addWidget(silverBox(CBResinCode, 200));
    layout->addStretch(1);
    return row;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == CBResinType && event->type() == QEvent::FocusIn)
        CBResinTypeEnter();
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::CBResinTypeChange() {
    if (m_dmod)
        MessageBox::guarded(this, [this] { m_dmod->CBResinTypeChange(); });
}

void TForm1::CBResinTypeEnter() {
    if (m_dmod)
        MessageBox::guarded(this, [this] { m_dmod->CBResinTypeEnter(); });
}

void TForm1::CBResinCodeChange() {
    if (m_dmod)
        MessageBox::guarded(this, [this] { m_dmod->CBResinCodeChange(); });
}

void TForm1::ShowResults() {
    // The result panels are written here once the results area stands.
}
