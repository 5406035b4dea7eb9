// The data module's part in editing the current recipe's header.
#include "edit/DModUnit.h"

Field& TDMod::headerField(HeaderPart part) const {
    switch (part) {
    case HeaderPart::AV:
        return *Info.AV;
    case HeaderPart::Solids:
        return *Info.Solids;
    case HeaderPart::Description:
        return *Info.Description;
    case HeaderPart::Size:
        break;
    }
    return *Info.Size;
}

QString TDMod::headerText(HeaderPart part, bool editing) const {
    if (!TblInfo.isOpen())
        return {};
    const Field& f = headerField(part);
    return editing ? f.editText() : f.displayText();
}

int TDMod::headerWidth(HeaderPart part) const {
    const Field& f = headerField(part);
    return f.isNumeric() ? 0 : f.size;
}

Qt::Alignment TDMod::headerAlignment(HeaderPart part) const { return headerField(part).alignment; }

void TDMod::beginHeaderEdit() {
    if (TblInfo.state() == Table::State::Browse)
        TblInfo.edit();
}

void TDMod::checkHeaderText(HeaderPart part, const QString& typed) const { headerField(part).checkText(typed); }

void TDMod::setHeaderText(HeaderPart part, const QString& typed) {
    beginHeaderEdit();
    headerField(part).setText(typed);
}

void TDMod::headerEvent(DataEvent event, Field* field) {
    switch (event) {
    case DataEvent::UpdateRecord:
        emit headerStoring();
        return;
    case DataEvent::UpdateState:
        return;
    case DataEvent::FieldChange:
        for (HeaderPart part : {HeaderPart::AV, HeaderPart::Solids, HeaderPart::Description, HeaderPart::Size})
            if (field == &headerField(part)) {
                emit headerPartChanged(part);
                return;
            }
        // Another field of the header (its name, its date) is nothing the edits show.
        if (field)
            return;
        [[fallthrough]];
    case DataEvent::RecordChange:
        emit headerPartChanged(std::nullopt);
        return;
    case DataEvent::DataSetChange:
    case DataEvent::DataSetScroll:
        emit headerShown();
        return;
    }
}
