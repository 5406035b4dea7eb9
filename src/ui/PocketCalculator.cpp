#include "PocketCalculator.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QStyleOptionButton>
#include <QTimer>

using Button = CalculatorEngine::Button;

TPocketCalculator::TPocketCalculator(QWidget* parent)
    : QWidget(parent), m_engine(QLocale().decimalPoint().at(0)) {
    setObjectName("PocketCalculator1");
    setFocusPolicy(Qt::StrongFocus);
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSize(9);
    f.setBold(true);
    setFont(f);
    const struct { const char* caption; Button button; Group group; } keys[] = {
        {"MC", Button::MC, Group::Memory},         {"Back", Button::Back, Group::Edit},
        {"CE", Button::ClearEntry, Group::Edit},   {"C", Button::Clear, Group::Edit},
        {"MR", Button::MR, Group::Memory},         {"7", Button::D7, Group::Number},
        {"8", Button::D8, Group::Number},          {"9", Button::D9, Group::Number},
        {"/", Button::Divide, Group::Operator},    {"Sqrt", Button::Sqrt, Group::Function},
        {"MS", Button::MS, Group::Memory},         {"4", Button::D4, Group::Number},
        {"5", Button::D5, Group::Number},          {"6", Button::D6, Group::Number},
        {"*", Button::Times, Group::Operator},     {"%", Button::Percent, Group::Function},
        {"M+", Button::MPlus, Group::Memory},      {"1", Button::D1, Group::Number},
        {"2", Button::D2, Group::Number},          {"3", Button::D3, Group::Number},
        {"-", Button::Minus, Group::Operator},     {"1/x", Button::Reciprocal, Group::Function},
        {"M-", Button::MMinus, Group::Memory},     {"0", Button::D0, Group::Number},
        {"+/-", Button::Negate, Group::Function},  {".", Button::Decimal, Group::Number},
        {"+", Button::Plus, Group::Operator},      {"=", Button::Equals, Group::Operator}};
    for (const auto& k : keys) {
        const QString caption = k.button == Button::Decimal ? QString(m_engine.decimalSeparator())
                                                            : QString::fromLatin1(k.caption);
        m_keys.push_back({caption, k.button, k.group, {}});
    }
    layOut();
}

QSize TPocketCalculator::sizeHint() const { return {240, 171}; }

void TPocketCalculator::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void TPocketCalculator::layOut() {
    const bool wide = width() > 200;
    const int gap = wide ? 4 : 2, margin = wide ? 6 : 4, memoryGap = 3 * gap;
    const int displayHeight = fontMetrics().height() + 8;
    m_display = QRect(margin, margin, width() - 2 * margin, displayHeight);
    const int top = m_display.bottom() + 1 + gap;
    const int rowHeight = (height() - margin - top - 4 * gap) / 5;
    const int columnWidth = (width() - 2 * margin - memoryGap - 4 * gap) / 6;
    const auto column = [&](int c) { return margin + (c == 0 ? 0 : columnWidth + memoryGap + (c - 1) * (columnWidth + gap)); };
    const auto rowTop = [&](int r) { return top + r * (rowHeight + gap); };
    size_t k = 0;
    // Row 1: MC, then Back, CE and C sharing the width of main columns 2 to 5.
    m_keys[k++].rect = QRect(column(0), rowTop(0), columnWidth, rowHeight);
    const int shared = column(5) + columnWidth - column(2);
    const int third = (shared - 2 * gap) / 3;
    for (int i = 0; i < 3; ++i)
        m_keys[k++].rect = QRect(column(2) + i * (third + gap), rowTop(0), third, rowHeight);
    for (int r = 1; r < 5; ++r)
        for (int c = 0; c < 6; ++c)
            m_keys[k++].rect = QRect(column(c), rowTop(r), columnWidth, rowHeight);
    update();
}

bool TPocketCalculator::enabled(const Key& key) const {
    return !((key.button == Button::MC || key.button == Button::MR) && m_engine.memoryIsZero());
}

void TPocketCalculator::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // A single sunken border round the whole calculator.
    QStyleOptionFrame border;
    border.initFrom(this);
    border.rect = rect();
    border.lineWidth = 1;
    border.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_Frame, &border, &p, this);
    // The display: a lowered panel, the text right-aligned.
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.rect = m_display;
    frame.lineWidth = 1;
    frame.state |= QStyle::State_Sunken;
    p.fillRect(m_display, palette().color(QPalette::Base));
    style()->drawPrimitive(QStyle::PE_Frame, &frame, &p, this);
    p.setPen(palette().color(QPalette::Text));
    p.drawText(m_display.adjusted(4, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, m_engine.display());

    static const QColor colours[] = {Qt::blue, Qt::red, QColor(0, 0, 128), QColor(128, 0, 0), Qt::red};
    for (size_t i = 0; i < m_keys.size(); ++i) {
        const Key& key = m_keys[i];
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = key.rect;
        option.state = QStyle::State_Raised;
        if (enabled(key))
            option.state |= QStyle::State_Enabled;
        if (int(i) == m_pressed)
            option.state = (option.state & ~QStyle::State_Raised) | QStyle::State_Sunken;
        if (key.button == Button::Equals && hasFocus())
            option.state |= QStyle::State_HasFocus;
        style()->drawControl(QStyle::CE_PushButtonBevel, &option, &p, this);
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = key.rect.adjusted(3, 3, -3, -3);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
        }
        p.setPen(enabled(key) ? colours[int(key.group)] : QColor(Qt::gray));
        p.drawText(key.rect.translated(int(i) == m_pressed ? 1 : 0, int(i) == m_pressed ? 1 : 0), Qt::AlignCenter,
                   key.caption);
    }
}

int TPocketCalculator::keyAt(const QPoint& at) const {
    for (size_t i = 0; i < m_keys.size(); ++i)
        if (m_keys[i].rect.contains(at))
            return int(i);
    return -1;
}

int TPocketCalculator::keyOf(Button button) const {
    for (size_t i = 0; i < m_keys.size(); ++i)
        if (m_keys[i].button == button)
            return int(i);
    return -1;
}

QRect TPocketCalculator::buttonRect(const QString& caption) const {
    for (const Key& k : m_keys)
        if (k.caption == caption)
            return k.rect;
    return {};
}

void TPocketCalculator::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason); // the display too gives the calculator the keyboard
    if (event->button() != Qt::LeftButton)
        return;
    const int k = keyAt(event->position().toPoint());
    if (k >= 0 && enabled(m_keys[size_t(k)])) {
        m_pressed = k;
        update();
    }
}

void TPocketCalculator::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_pressed < 0)
        return;
    const int pressed = std::exchange(m_pressed, -1);
    update();
    // Performed only when released over the button it was pressed on.
    if (keyAt(event->position().toPoint()) == pressed)
        perform(m_keys[size_t(pressed)].button);
}

void TPocketCalculator::perform(Button button) {
    const bool wasError = m_engine.error();
    // A refused button beeps, and so does the one that fails.
    if (!m_engine.press(button) || (!wasError && m_engine.error()))
        QApplication::beep();
    update();
}

void TPocketCalculator::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    std::optional<Button> button;
    if (mods == Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_L: button = Button::MC; break;
        case Qt::Key_R: button = Button::MR; break;
        case Qt::Key_M: button = Button::MS; break;
        case Qt::Key_P: button = Button::MPlus; break;
        case Qt::Key_S: button = Button::MMinus; break;
        case Qt::Key_C:
            QGuiApplication::clipboard()->setText(m_engine.display());
            return;
        case Qt::Key_V:
            m_engine.paste(QGuiApplication::clipboard()->text());
            if (m_engine.error())
                QApplication::beep();
            update();
            return;
        default: break;
        }
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        button = Button::Equals;
    } else if (event->key() == Qt::Key_Backspace) {
        button = Button::Back;
    } else if (event->key() == Qt::Key_Escape) {
        button = Button::Clear;
    } else if (event->key() == Qt::Key_F9 && mods == Qt::NoModifier) {
        button = Button::Negate;
    } else if (event->key() == Qt::Key_Delete && mods == Qt::NoModifier) {
        button = Button::ClearEntry;
    } else if (!event->text().isEmpty() && !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
        button = m_engine.buttonFor(event->text().at(0));
    }
    if (!button) {
        QWidget::keyPressEvent(event);
        return;
    }
    // MC and MR are out of use while the memory is empty, from the keyboard as with the mouse.
    if (const int k = keyOf(*button); k >= 0 && !enabled(m_keys[size_t(k)]))
        return;
    // A button performed from the keyboard is drawn pressed for a moment.
    const int k = keyOf(*button);
    if (k >= 0) {
        m_pressed = k;
        QTimer::singleShot(100, this, [this, k] {
            if (m_pressed == k) {
                m_pressed = -1;
                update();
            }
        });
    }
    perform(*button);
}
