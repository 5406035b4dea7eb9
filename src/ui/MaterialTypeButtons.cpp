#include "MaterialTypeButtons.h"

#include <QGridLayout>
#include <QRadioButton>

MaterialTypeButtons::MaterialTypeButtons(const QString& title, const std::vector<Button>& buttons,
                                         const QFont& font, QWidget* parent)
    : QGroupBox(title, parent) {
    setToolTip(QStringLiteral("Select raw material type."));
    setFont(font);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(0);
    for (const Button& b : buttons) {
        auto* r = new QRadioButton(b.caption);
        r->setObjectName(b.objectName);
        r->setFont(font);
        r->setStyleSheet(QStringLiteral("QRadioButton:focus { background: aqua; }"));
        connect(r, &QRadioButton::clicked, this, [this, type = b.type] { emit typeChosen(type); });
        grid->addWidget(r, b.row, b.column);
        m_buttons.emplace_back(b.type, r);
    }
}

QRadioButton* MaterialTypeButtons::button(std::optional<MaterialType> type) const {
    for (const auto& [t, r] : m_buttons)
        if (t == type)
            return r;
    return nullptr;
}

void MaterialTypeButtons::setType(std::optional<MaterialType> type) {
    if (QRadioButton* r = button(type))
        r->setChecked(true);
}
