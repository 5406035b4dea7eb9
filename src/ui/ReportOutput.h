#pragma once

#include "paint/Report.h"

class QPrinter;
class QWidget;

// The report commands of the windows: print on the printer that Print Setup chose, or save as a
// PDF file. Each shows its own failures; a cancelled job says nothing.
namespace ReportOutput {

// Prints every page on `printer`. With no printer installed that would print nothing and say
// nothing: the user is told and offered a PDF file instead, named after `title`. Returns the PDF
// file written, when the pages went into one; empty otherwise.
QString print(QWidget* parent, QPrinter& printer, const Report::Definition& definition,
              const std::vector<Report::Page>& pages, const QString& title);

// Asks for a PDF file, proposing one named after `title`, and saves every page into it. Returns
// the file written; empty when none was.
QString saveAsPdf(QWidget* parent, const Report::Definition& definition, const std::vector<Report::Page>& pages,
                  const QString& title);

// What the status area says once a report went into a PDF file.
QString writtenNote(const QString& file);

// Whether `printer` would print nowhere: no printer installed, or a PDF file of no name (Qt's
// printer falls back to one when there is no printer).
bool printsNowhere(const QPrinter& printer);

// The user's documents folder (or home) with a file named after `title`; characters a file name
// cannot hold become "_".
QString proposedFile(const QString& title, const QString& suffix);

// A file name chosen without an extension gets ".pdf".
QString withPdfSuffix(const QString& file);

} // namespace ReportOutput
