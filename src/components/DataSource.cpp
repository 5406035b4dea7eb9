#include "DataSource.h"

#include "Table.h"

DataSource::DataSource(Table* table, QObject* parent) : QObject(parent), m_table(table) {
    if (m_table)
        m_table->addDataSource(this);
}

DataSource::~DataSource() {
    if (m_table)
        m_table->removeDataSource(this);
}

void DataSource::notify(DataEvent event, Field* field) {
    switch (event) {
    case DataEvent::FieldChange:
    case DataEvent::RecordChange:
    case DataEvent::DataSetChange:
    case DataEvent::DataSetScroll:
        if (onDataChange)
            onDataChange(field);
        emit dataChange(field);
        break;
    case DataEvent::UpdateState:
        if (onStateChange)
            onStateChange();
        emit stateChange();
        break;
    case DataEvent::UpdateRecord:
        break;
    }
    emit dataEvent(event, field);
}
