#include "MaterialConflict.h"

#include "MessageBox.h"
#include "Placement.h"
#include "exchange/LibraryPreview.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

TFrmMaterialConflict::TFrmMaterialConflict(QWidget* parent, const StoredMaterial& library, const StoredMaterial& file,
                                           const QString& proposedCode, std::function<QString(const QString&)> checkCode)
    : QDialog(parent), m_checkCode(std::move(checkCode)) {
    setObjectName(QStringLiteral("TFrmMaterialConflict"));
    setWindowTitle(QStringLiteral("Import: Material %1").arg(library.code));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    LblConflict = new QLabel(QStringLiteral("The library has a material %1 with other data than the file's. Which "
                                            "should the imported recipe use?")
                                 .arg(library.code));
    LblConflict->setObjectName(QStringLiteral("LblConflict"));
    LblConflict->setWordWrap(true);

    const QStringList columns = Import::partColumns();
    ConflictParts = new QTableWidget(int(columns.size()), 2);
    ConflictParts->setObjectName(QStringLiteral("ConflictParts"));
    ConflictParts->setHorizontalHeaderLabels({QStringLiteral("In the library"), QStringLiteral("In the file")});
    ConflictParts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ConflictParts->setSelectionMode(QAbstractItemView::NoSelection);
    ConflictParts->setFocusPolicy(Qt::NoFocus);
    ConflictParts->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ConflictParts->verticalHeader()->setDefaultSectionSize(ConflictParts->fontMetrics().height() + 6);
    QFont bold = font();
    bold.setBold(true);
    for (int r = 0; r < columns.size(); ++r) {
        ConflictParts->setVerticalHeaderItem(r, new QTableWidgetItem(Import::partCaption(columns[r])));
        const QString ours = Import::partShown(library, columns[r]);
        const QString theirs = Import::partShown(file, columns[r]);
        const bool differs = r > 0 && ours != theirs;
        for (int c = 0; c < 2; ++c) {
            auto* item = new QTableWidgetItem(c == 0 ? ours : theirs);
            if (differs) {
                item->setFont(bold);
                item->setBackground(QColor(255, 236, 179)); // the parts that differ catch the eye
            }
            ConflictParts->setItem(r, c, item);
        }
    }
    // Every part in sight at once, the longest value of either side whole.
    const int height = ConflictParts->horizontalHeader()->sizeHint().height() +
                       int(columns.size()) * ConflictParts->verticalHeader()->defaultSectionSize() +
                       2 * ConflictParts->frameWidth() + 2;
    int valueWidth = 200;
    for (int r = 0; r < ConflictParts->rowCount(); ++r)
        for (int c = 0; c < 2; ++c)
            valueWidth = std::max(valueWidth, QFontMetrics(ConflictParts->item(r, c)->font())
                                                  .horizontalAdvance(ConflictParts->item(r, c)->text()) + 16);
    ConflictParts->setMinimumSize(ConflictParts->verticalHeader()->sizeHint().width() + 2 * valueWidth +
                                      2 * ConflictParts->frameWidth() + 2,
                                  height);
    ConflictParts->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    EdNewCode = new QLineEdit(proposedCode);
    EdNewCode->setObjectName(QStringLiteral("EdNewCode"));
    auto* codeRow = new QFormLayout;
    codeRow->addRow(QStringLiteral("&New code for the file's material:"), EdNewCode);

    BtnUseLibrary = new QPushButton(QStringLiteral("Use the &Library's"));
    BtnUseLibrary->setObjectName(QStringLiteral("BtnUseLibrary"));
    BtnUseLibrary->setDefault(true);
    BtnNewCode = new QPushButton(QStringLiteral("Import under the New &Code"));
    BtnNewCode->setObjectName(QStringLiteral("BtnNewCode"));
    BtnCancel = new QPushButton(QStringLiteral("C&ancel Import"));
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    connect(BtnUseLibrary, &QPushButton::clicked, this, [this] {
        m_choice = Choice::UseLibrary;
        accept();
    });
    connect(BtnNewCode, &QPushButton::clicked, this, [this] {
        const QString why = m_checkCode(newCode());
        if (!why.isEmpty()) {
            MessageBox::commandError(this, why);
            EdNewCode->setFocus();
            EdNewCode->selectAll();
            return;
        }
        m_choice = Choice::NewCode;
        accept();
    });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    // In the new code's box, Enter imports under it, typed or as proposed.
    EdNewCode->installEventFilter(this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnUseLibrary);
    buttons->addWidget(BtnNewCode);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LblConflict);
    layout->addWidget(ConflictParts, 1);
    layout->addLayout(codeRow);
    layout->addLayout(buttons);
    setTabOrder(BtnUseLibrary, EdNewCode);
    setTabOrder(EdNewCode, BtnNewCode);
    setTabOrder(BtnNewCode, BtnCancel);
}

TFrmMaterialConflict::Choice TFrmMaterialConflict::ask() {
    m_choice = Choice::Cancel;
    BtnUseLibrary->setFocus();
    return exec() == QDialog::Accepted ? m_choice : Choice::Cancel;
}

QString TFrmMaterialConflict::newCode() const { return EdNewCode->text().trimmed(); }

bool TFrmMaterialConflict::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EdNewCode && event->type() == QEvent::FocusIn)
        BtnNewCode->setDefault(true);
    return QDialog::eventFilter(watched, event);
}

void TFrmMaterialConflict::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOverParent(this);
}
