#pragma once

#include "paint/Report.h"

#include <QDialog>

class QLabel;
class QPrinter;
class QProgressBar;
class QPushButton;

// The small window shown while a report prints: a bar of the pages done and a button that stops
// the job. It asks nothing and goes when the job ends.
class PrintProgress : public QDialog {
    Q_OBJECT
public:
    PrintProgress(int pages, QWidget* parent);

    // Shows that `done` pages have gone to the printer and lets Cancel be clicked.
    void pageDone(int done);
    // The pages are done and go to the printer's queue, which cannot be stopped from here.
    void sending(const QString& printer);
    bool cancelled() const { return m_cancelled; }

    QProgressBar* Progress;
    QPushButton* Cancel;

protected:
    void reject() override; // Escape and the close box cancel too

private:
    QLabel* m_text;
    int m_pages = 0;
    bool m_cancelled = false;
};

enum class PrintResult { Printed, Cancelled, Failed };

// Prints laid-out pages where `printer` is set up to print: into its PDF file or on its printer.
// One copy of every page on the report's own paper, whatever paper the printer was set to; the
// printer's set-up is left alone. `title` names the document and the job. On failure `error` says
// why.
PrintResult printReport(QWidget* parent, QPrinter& printer, const Report::Definition& definition,
                        const std::vector<Report::Page>& pages, const QString& title, QString* error = nullptr);
