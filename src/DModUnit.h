#pragma once

#include "components/DataSource.h"
#include "components/Database.h"
#include "components/Table.h"

#include <QObject>

class MainWindowLink;

// Set while the library window's view is in browse state, that is, holds nothing unsaved.
inline bool LibSaved = true;

// The data module: owns the six views on the three tables, their data sources and handlers, and
// the operations on the current recipe.
class TDMod : public QObject {
    Q_OBJECT
public:
    // Opens the views in their fixed order; a table that cannot be opened raises the store's
    // error. `form` is the main window (or a stand-in); it must outlive the data module.
    TDMod(Database& db, MainWindowLink& form, QObject* parent = nullptr);
    ~TDMod() override;

    Database& database() const { return m_db; }

    Table TblInfo;
    Table TblRecipe;
    Table LibTbl;
    Table TblLibLookUp;
    Table TblGridLib;
    Table TblLibPrint;

    DataSource DSInfo;
    DataSource DSRecipe;
    DataSource LibDS;
    DataSource DSLibLookup;
    DataSource DSGridLib;
    DataSource DSLibPrint;

    // Recipe selection.
    void DataModuleCreate();
    void FillResinTypeList();
    void FillResinCodeList();
    void SelectRecipe(const QString& type, const QString& code);
    // The main window's box events.
    void CBResinTypeChange();
    void CBResinTypeEnter();
    void CBResinCodeChange();

    void LibDSStateChange();

    // The filter text that keeps the rows whose column equals the value.
    static QString filterText(const QString& column, const QString& value);

private:
    void defineFields();

    Database& m_db;
    MainWindowLink& m_form;
};
