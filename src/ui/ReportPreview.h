#pragma once

#include "paint/Report.h"

#include <QDialog>
#include <memory>

class QAction;
class QLabel;
class QPrintPreviewWidget;
class QPrinter;
class QStatusBar;

// The print preview of a prepared report: its pages on screen, with zoom, paging, printer
// set-up, print and save as PDF. Printing uses the shared printer that Print Setup configures.
class ReportPreview : public QDialog {
    Q_OBJECT
public:
    // `title` names the printer's job and the PDF file proposed.
    ReportPreview(const Report::Definition& definition, std::vector<Report::Page> pages, QPrinter* printer,
                  const QString& title, QWidget* parent = nullptr);
    ~ReportPreview() override;

    int pageCount() const;
    int currentPage() const;

    QPrintPreviewWidget* Preview;
    QStatusBar* Status; // says where a PDF file was written
    QAction *ZoomFit, *ZoomFull, *ZoomWidth, *FirstPage, *PriorPage, *NextPage, *LastPage, *PrintSetup,
        *Print, *SaveAsPdf, *ClosePreview;

private:
    void paintPages(QPrinter* printer);
    void showPage(int page);
    void updatePaging();
    void printSetup();
    void print();
    void saveAsPdf();
    void noteWritten(const QString& file);

    const Report::Definition& m_definition;
    std::vector<Report::Page> m_pages;
    QPrinter* m_printer;
    std::unique_ptr<QPrinter> m_previewPrinter; // paper of the report, for the screen only
    QString m_title;
    QLabel* m_pageLabel = nullptr;
};
