#include "Look.h"

#include "Fonts.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QProxyStyle>
#include <QStyle>

namespace {

class ButtonOrderStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* answer) const override {
        if (hint == SH_DialogButtonLayout)
            return QDialogButtonBox::WinLayout;
        return QProxyStyle::styleHint(hint, option, widget, answer);
    }
};

} // namespace

void setUpLook() {
    installFontSubstitutes();
    QApplication::setStyle(new ButtonOrderStyle(QApplication::style()->name()));
}
