#pragma once

#include "exchange/LibraryPreview.h"

#include <QAbstractTableModel>
#include <QDialog>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

// A library CSV's rows as the preview lists them: the file's row, the code, the name, what the
// import makes of it, and for a changed row the parts that change.
class LibraryPreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColRow, ColCode, ColName, ColStatus, ColChanges, ColumnCount };
    explicit LibraryPreviewModel(const Import::LibraryPreview& preview, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The row's kind, for the filter.
    static constexpr int KindRole = Qt::UserRole;

private:
    const Import::LibraryPreview& m_preview;
};

// What a library CSV would do to the library, shown before anything is stored: Import stores the
// new and changed rows as one action, Cancel nothing. Rows the file gets wrong are listed apart.
class TFrmLibraryImport : public QDialog {
    Q_OBJECT
public:
    TFrmLibraryImport(QWidget* parent, const QString& fileName, const Import::LibraryPreview& preview);

    QLabel* LblPreviewSummary;
    QCheckBox* CBChangesOnly;
    QTableView* PreviewLines;
    QLabel* LblRefused;
    QPlainTextEdit* RefusedRows;
    QPushButton* BtnImport;
    QPushButton* BtnCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    LibraryPreviewModel m_model;
    QSortFilterProxyModel* m_shown;
};
