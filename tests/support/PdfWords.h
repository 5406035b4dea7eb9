#pragma once

#include <QString>
#include <vector>

// The words of a PDF with their boxes, as a reader of the paper sees them: read back by poppler's
// pdftotext, so that a test checks what was printed and not what the program meant to print.
struct PdfWord {
    int page = 0; // from 1
    QString text;
    double left = 0, top = 0, right = 0, bottom = 0; // mm from the paper's top-left corner
};

// Empty when pdftotext is missing or fails; `error` then says why.
std::vector<PdfWord> pdfWords(const QString& pdfFile, QString* error = nullptr);

// The first word of that text on that page, or nullptr.
const PdfWord* findWord(const std::vector<PdfWord>& words, const QString& text, int page = 1);

// The first word of that text on page 1; a failure of the test, and an empty word, when absent.
PdfWord expectWord(const std::vector<PdfWord>& words, const QString& text);

// The page's words joined by blanks, in reading order.
QString pageText(const std::vector<PdfWord>& words, int page);
