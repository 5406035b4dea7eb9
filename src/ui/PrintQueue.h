#pragma once

#include <QString>

// A printer's queue on this machine (CUPS). Qt's own printing sends whatever was painted when
// its painter ends, even after an abort; a document handed over here goes as one job, or not at
// all, and a refusal comes back with the scheduler's reason.
namespace PrintQueue {

// Queues the PDF file as one job of one copy on A4; `printer` empty means the default printer.
// Returns the job's number, or 0 with `error` set.
int submit(const QString& printer, const QString& pdfFile, const QString& title, QString* error);

} // namespace PrintQueue
