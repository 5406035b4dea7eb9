#pragma once

#include "MainWindowLink.h"
#include "components/ComboRecipeBox.h"

#include <QMainWindow>
#include <memory>

class QComboBox;
class QFrame;
class QLabel;
class TDMod;

// The recipe editor, the application's main window.
class TForm1 : public QMainWindow, public MainWindowLink {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Connects the window to the data module once that exists.
    void attach(TDMod* dmod);
    TDMod* dmod() const { return m_dmod; }

    RecipeBox& resinTypeBox() override { return m_typeBox; }
    RecipeBox& resinCodeBox() override { return m_codeBox; }
    void ShowResults() override;

    QComboBox* CBResinType = nullptr;
    QComboBox* CBResinCode = nullptr;

public slots:
    void CBResinTypeChange();
    void CBResinTypeEnter();
    void CBResinCodeChange();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildHeaderRow1();
    QLabel* headerLabel(const QString& text, int width);
    QFrame* silverBox(QWidget* content, int width);

    TDMod* m_dmod = nullptr;
    ComboRecipeBox m_typeBox;
    ComboRecipeBox m_codeBox;
};
