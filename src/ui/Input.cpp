#include "Input.h"

#include "edit/DModUnit.h"
#include "app/Fonts.h"
#include "MessageBox.h"
#include "Placement.h"
#include "edit/RecipeBox.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const char* const kTypeLabel =
    "Select a current resin type or enter a new resin type (maximum 25 Characters):";

QLabel* wrappedLabel(QWidget* parent, const char* name, int y) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(17, y, 280, 30);
    label->setWordWrap(true);
    label->setFont(arialFont(12, true));
    return label;
}

QComboBox* nameBox(QWidget* parent, const char* name, int y, int maxLength) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    // The columns hold 25 and 15 characters, as the labels say.
    box->lineEdit()->setMaxLength(maxLength);
    box->setGeometry(88, y, 145, box->sizeHint().height());
    return box;
}

} // namespace

TFrmInput::TFrmInput(QWidget* parent, RecipeBox& typeBox, RecipeBox& codeBox)
    : QDialog(parent), m_typeBox(typeBox), m_codeBox(codeBox) {
    setObjectName("FrmInput");
    setFixedSize(313, 214);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    auto* bevel = new QFrame(this);
    bevel->setObjectName("Bevel1");
    bevel->setGeometry(8, 8, 297, 161);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    LblType = wrappedLabel(this, "LblType", 20);
    CBProductType = nameBox(this, "CBProductType", 62, 25);
    LblCode = wrappedLabel(this, "LblCode", 95);
    CBProductCode = nameBox(this, "CBProductCode", 137, 15);
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(79, 180, 75, 25);
    OKBtn->setAutoDefault(false);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(159, 180, 75, 25);
    CancelBtn->setAutoDefault(false);
    connect(OKBtn, &QPushButton::clicked, this, &TFrmInput::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, [this] {
        CancelBtnClick();
        reject();
    });
    setTabOrder(CBProductType, CBProductCode);
    setTabOrder(CBProductCode, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
    CBProductType->installEventFilter(this);
    CBProductCode->installEventFilter(this);
    OKBtn->installEventFilter(this);
}

void TFrmInput::prepare(NameCommand command) {
    m_command = command;
    const bool fresh = command == NameCommand::New;
    setWindowTitle(command == NameCommand::New      ? "Add New Recipe"
                   : command == NameCommand::SaveAs ? "Save Recipe AS"
                   : command == NameCommand::Import ? "Import Recipe"
                                                    : "Rename Recipe");
    LblType->setText(kTypeLabel);
    LblCode->setText(
        command == NameCommand::New      ? "Enter the new product code for the recipe (maximum 15 Characters):"
        : command == NameCommand::SaveAs ? "Select a current resin code or enter a new code for the recipe "
                                           "(maximum 15 Characters):"
        : command == NameCommand::Import ? "Keep the file's code, or enter another for the imported recipe "
                                           "(maximum 15 Characters):"
                                         : "Enter a new code for the recipe (maximum 15 Characters):");
    CBProductType->setEditText(fresh ? QString() : m_typeBox.text());
    CBProductCode->setEditText(QString());
    FormActivate();
}

void TFrmInput::OpenForNew() {
    prepare(NameCommand::New);
    exec();
}

void TFrmInput::OpenForSaveAs() {
    prepare(NameCommand::SaveAs);
    exec();
}

bool TFrmInput::OpenForImport(const ImportedRecipe& imported) {
    prepare(NameCommand::Import);
    CBProductType->setEditText(imported.recipe.header.type);
    CBProductCode->setEditText(imported.recipe.header.code);
    m_imported = &imported;
    const bool stored = exec() == QDialog::Accepted;
    m_imported = nullptr;
    return stored;
}

bool TFrmInput::OpenForVersion(const ImportedRecipe& version) {
    prepare(NameCommand::SaveAs);
    CBProductType->setEditText(version.recipe.header.type);
    m_imported = &version;
    const bool stored = exec() == QDialog::Accepted;
    m_imported = nullptr;
    return stored;
}

void TFrmInput::OpenForRename() {
    prepare(NameCommand::Rename);
    exec();
}

void TFrmInput::FormActivate() {
    auto copyList = [](const RecipeBox& from, QComboBox* to) {
        const QString text = to->currentText();
        to->clear();
        to->addItems(from.items());
        to->setCurrentIndex(-1);
        to->setEditText(text);
    };
    copyList(m_typeBox, CBProductType);
    copyList(m_codeBox, CBProductCode);
    if (m_dmod) {
        m_source = m_dmod->headers().name();
    }
    CBProductType->setFocus();
}

void TFrmInput::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOverParent(this);
}

void TFrmInput::OKBtnClick() {
    if (!m_dmod)
        return;
    const QString type = CBProductType->currentText();
    const QString code = CBProductCode->currentText();
    TDMod::NameOutcome outcome = TDMod::NameOutcome::Stay;
    Database& db = m_dmod->database();
    const ActionOutcome named = db.perform([&] { outcome = m_dmod->NameRecipe(m_command, m_source, type, code, m_imported); });
    MessageBox::reported(this, named);
    if (named.rolledBack)
        MessageBox::reported(this, db.perform([this] { m_dmod->ShowCurrentRecipe(); }));
    if (named.done && outcome == TDMod::NameOutcome::Done) {
        accept();
        return;
    }
    // A box raised from the dialog has closed: it is the active window again.
    FormActivate();
    if (outcome == TDMod::NameOutcome::CodeMissing)
        CBProductCode->setFocus();
}

bool TFrmInput::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == CBProductType)
                CBProductCode->setFocus();
            else if (watched == CBProductCode)
                OKBtn->setFocus();
            else if (watched == OKBtn)
                OKBtn->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
