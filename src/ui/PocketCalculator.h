#pragma once

#include "domain/CalculatorEngine.h"

#include <QWidget>
#include <vector>

// A pocket calculator control: a display over five rows of buttons, worked by mouse and
// keyboard. It draws and forwards input; the arithmetic is its engine's.
class TPocketCalculator : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString displayText READ displayText)
public:
    explicit TPocketCalculator(QWidget* parent = nullptr);

    QString displayText() const { return m_engine.display(); }
    const CalculatorEngine& engine() const { return m_engine; }
    QSize sizeHint() const override;

    // A button's caption and place, for tests that click it.
    QRect buttonRect(const QString& caption) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class Group { Number, Operator, Function, Edit, Memory };
    struct Key {
        QString caption;
        CalculatorEngine::Button button;
        Group group;
        QRect rect;
    };
    void layOut();
    void perform(CalculatorEngine::Button button);
    bool enabled(const Key& key) const;
    int keyAt(const QPoint& at) const;
    int keyOf(CalculatorEngine::Button button) const;

    CalculatorEngine m_engine;
    std::vector<Key> m_keys;
    QRect m_display;
    int m_pressed = -1; // the key drawn pressed
};
