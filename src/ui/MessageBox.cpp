#include "MessageBox.h"

#include "app/Title.h"
#include "Placement.h"
#include "components/StoreError.h"

#include <QList>
#include <deque>

namespace MessageBox {

namespace {
std::deque<QMessageBox::StandardButton> nextAnswers;
std::function<void(const Shown&)> unexpectedBox;
bool autoAnswer = false;
QList<Shown> shown;
} // namespace

QMessageBox::StandardButton show(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                 const QString& text, QMessageBox::StandardButtons buttons,
                                 QMessageBox::StandardButton defaultButton) {
    shown.append({title, text, icon, buttons, defaultButton});
    if (!nextAnswers.empty()) {
        const auto answer = nextAnswers.front();
        nextAnswers.pop_front();
        return answer;
    }
    if (unexpectedBox) {
        unexpectedBox(shown.last());
        return defaultButton;
    }
    if (autoAnswer)
        return defaultButton;
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    stayAboveOpener(&box);
    return QMessageBox::StandardButton(box.exec());
}

void commandError(QWidget* parent, const QString& text) {
    show(parent, QMessageBox::Critical, QString::fromUtf8(ApplicationTitle), text, QMessageBox::Ok,
         QMessageBox::Ok);
}

bool reported(QWidget* parent, const ActionOutcome& outcome) {
    if (!outcome.error.isEmpty())
        commandError(parent, outcome.error);
    return outcome.done;
}

bool guarded(QWidget* parent, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const StoreError& e) {
        commandError(parent, e.message());
    } catch (const std::exception& e) {
        commandError(parent, QString::fromLocal8Bit(e.what()));
    }
    return false;
}

void setNextAnswer(QMessageBox::StandardButton answer) { nextAnswers.push_back(answer); }
void setUnexpected(std::function<void(const Shown&)> unexpected) { unexpectedBox = std::move(unexpected); }
int takeUnusedAnswers() {
    const int n = int(nextAnswers.size());
    nextAnswers.clear();
    return n;
}
void setAutoAnswer(bool on) { autoAnswer = on; }
const QList<Shown>& history() { return shown; }
void clearHistory() { shown.clear(); }

} // namespace MessageBox
