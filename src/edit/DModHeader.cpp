// The data module's part in editing the current recipe's header.
#include "edit/DModUnit.h"

QString TDMod::headerText(HeaderPart part, bool editing) const {
    return m_headers.isOpen() ? m_headers.text(part, editing) : QString();
}

int TDMod::headerWidth(HeaderPart part) const { return RecipeHeaders::width(part); }

Qt::Alignment TDMod::headerAlignment(HeaderPart part) const { return RecipeHeaders::alignment(part); }

void TDMod::beginHeaderEdit() { m_headers.edit(); }

void TDMod::checkHeaderText(HeaderPart part, const QString& typed) const { m_headers.checkText(part, typed); }

void TDMod::setHeaderText(HeaderPart part, const QString& typed) { m_headers.setText(part, typed); }

void TDMod::headerChanged() {
    m_editor.setTargetAV(m_headers.header().av.value_or(0));
    CalcTotals();
}
