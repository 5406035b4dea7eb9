#pragma once

#include "components/ActionOutcome.h"

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

// The one way the program shows a message box. Tests answer boxes in advance and read what was
// shown instead of a modal box blocking them.
namespace MessageBox {

struct Shown {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

QMessageBox::StandardButton show(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                 const QString& text, QMessageBox::StandardButtons buttons,
                                 QMessageBox::StandardButton defaultButton);

// An error of a command: stop icon, OK, titled with the application title.
void commandError(QWidget* parent, const QString& text);
// Shows what went wrong with a user action, if anything is left to show; whether it was done.
bool reported(QWidget* parent, const ActionOutcome& outcome);
// Runs a command; an error it raises ends it and is shown as a command error.
bool guarded(QWidget* parent, const std::function<void()>& command);

// For tests: the next box is not shown but answered with `answer`; answers queue up.
void setNextAnswer(QMessageBox::StandardButton answer);
// For tests: a box that no answer was given for is passed to `unexpected` and answered with its
// default button instead of being shown.
void setUnexpected(std::function<void(const Shown&)> unexpected);
// For benchmarks: every box is answered at once with its default button.
void setAutoAnswer(bool on);
const QList<Shown>& history();
void clearHistory();
// Answers given in advance that no box took; cleared.
int takeUnusedAnswers();

} // namespace MessageBox
