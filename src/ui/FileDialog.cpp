#include "FileDialog.h"

#include "Placement.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <deque>

namespace FileDialog {

namespace {
std::deque<std::pair<QString, QString>> nextAnswers; // file, filter
std::function<void(const QString&)> unexpectedQuestion;
QString proposedLast;
QString folderLast; // where the user last chose a file: the next question starts there
} // namespace

QString saveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                     const QString& filter, QString* chosen) {
    proposedLast = proposed;
    if (chosen)
        *chosen = filter.section(QStringLiteral(";;"), 0, 0);
    if (!nextAnswers.empty()) {
        const auto [answer, filterChosen] = nextAnswers.front();
        nextAnswers.pop_front();
        if (chosen && !filterChosen.isEmpty())
            *chosen = filterChosen;
        return answer;
    }
    if (unexpectedQuestion) {
        unexpectedQuestion(caption);
        return QString();
    }
    // A name typed without an extension gets the chosen filter's before the dialog asks whether
    // to replace an existing file, so that no file is overwritten unasked.
    QFileDialog dialog(parent, caption, folderLast.isEmpty() ? proposed : QDir(folderLast).filePath(proposed), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(filterSuffix(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& chosen) { dialog.setDefaultSuffix(filterSuffix(chosen)); });
    stayAboveOpener(&dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    if (chosen)
        *chosen = dialog.selectedNameFilter();
    folderLast = QFileInfo(dialog.selectedFiles().constFirst()).absolutePath();
    return dialog.selectedFiles().constFirst();
}

QString openFileName(QWidget* parent, const QString& caption, const QString& filter) {
    proposedLast.clear();
    if (!nextAnswers.empty()) {
        const QString answer = nextAnswers.front().first;
        nextAnswers.pop_front();
        return answer;
    }
    if (unexpectedQuestion) {
        unexpectedQuestion(caption);
        return QString();
    }
    QFileDialog dialog(parent, caption, folderLast, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    stayAboveOpener(&dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    folderLast = QFileInfo(dialog.selectedFiles().constFirst()).absolutePath();
    return dialog.selectedFiles().constFirst();
}

QString filterSuffix(const QString& filter) {
    // "PDF document (*.pdf)" gives "pdf", "(*.kalvora-recipe)" "kalvora-recipe"; a filter of
    // several patterns gives its first.
    const qsizetype star = filter.indexOf(QLatin1String("*."));
    if (star < 0)
        return QString();
    qsizetype end = star + 2;
    while (end < filter.size() && (filter[end].isLetterOrNumber() || filter[end] == u'-'))
        ++end;
    return filter.mid(star + 2, end - star - 2);
}

void setNextAnswer(const QString& file, const QString& chosen) { nextAnswers.emplace_back(file, chosen); }
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
