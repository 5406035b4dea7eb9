#pragma once

#include <QDialog>

class QTextEdit;

// The help viewer: "Readme.RTF" from the working directory, read afresh at every showing. Made
// once; showing it never blocks the main window. What is typed into it is never saved.
class TFrmHelp : public QDialog {
    Q_OBJECT
public:
    explicit TFrmHelp(QWidget* parent = nullptr);

    // Shows the viewer, or brings it forward when it is already shown.
    void showHelp();

    QTextEdit* RTFHelp;
    // The file read, by its bare name: it is looked up in the working directory.
    static inline const char* FileName = "Readme.RTF";

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
};
