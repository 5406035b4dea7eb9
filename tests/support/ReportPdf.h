#pragma once

#include "PdfWords.h"
#include "paint/ReportPainter.h"

#include <QPdfWriter>
#include <gtest/gtest.h>

// Prints laid-out pages into a PDF file and reads its words back, as a reader of the paper sees
// them. A report that does not print fails the test; empty words without a failure mean that
// pdftotext could not read the file, and `error` says why.
inline std::vector<PdfWord> printedWords(const Report::Definition& definition, const std::vector<Report::Page>& pages,
                                         const QString& file, QString* error) {
    {
        QPdfWriter pdf(file);
        if (!Report::print(pdf, definition, pages)) {
            ADD_FAILURE() << "the report did not print into " << file.toStdString();
            *error = QStringLiteral("not printed");
            return {};
        }
    }
    return pdfWords(file, error);
}
