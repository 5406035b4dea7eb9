#pragma once

#include <QString>
#include <functional>

class QWidget;

// The one way the program asks for a file name. Tests answer in advance instead of a modal
// dialog blocking them.
namespace FileDialog {

// The file to save into, or empty when the user cancels. A name typed without an extension gets
// that of the filter chosen ("Pictures (*.png);;Pages (*.pdf)"), and an existing file is replaced
// only after asking.
// `chosen`, when given, receives the filter the user chose.
QString saveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                     const QString& filter, QString* chosen = nullptr);

// An existing file to read, or empty when the user cancels.
QString openFileName(QWidget* parent, const QString& caption, const QString& filter);

// The extension of a name filter's first pattern, without the dot: "pdf" for "PDF (*.pdf)".
QString filterSuffix(const QString& filter);

// For tests: the next question is answered with `file` (empty: cancelled) and the filter
// `chosen` (none: the first); answers queue up.
void setNextAnswer(const QString& file, const QString& chosen = {});
// For tests: a question no answer was given for is passed to `unexpected` and cancelled.
void setUnexpected(std::function<void(const QString& caption)> unexpected);
// For tests: the file name the last question proposed.
QString lastProposed();
// Answers given in advance that no question took; cleared.
int takeUnusedAnswers();

} // namespace FileDialog
