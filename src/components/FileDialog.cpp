#include "FileDialog.h"

#include <QFileDialog>
#include <deque>

namespace FileDialog {

namespace {
std::deque<QString> nextAnswers;
std::function<void(const QString&)> unexpectedQuestion;
QString proposedLast;
} // namespace

QString saveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                     const QString& filter) {
    proposedLast = proposed;
    if (!nextAnswers.empty()) {
        const QString answer = nextAnswers.front();
        nextAnswers.pop_front();
        return answer;
    }
    if (unexpectedQuestion) {
        unexpectedQuestion(caption);
        return QString();
    }
    return QFileDialog::getSaveFileName(parent, caption, proposed, filter);
}

void setNextAnswer(const QString& file) { nextAnswers.push_back(file); }
void setUnexpected(std::function<void(const QString&)> unexpected) {
    unexpectedQuestion = std::move(unexpected);
}
QString lastProposed() { return proposedLast; }
int takeUnusedAnswers() {
    const int n = int(nextAnswers.size());
    nextAnswers.clear();
    return n;
}

} // namespace FileDialog
