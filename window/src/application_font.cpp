#include "window/application_font.h"

#include <QApplication>
#include <QFontInfo>

namespace ratalia {

void preferProportionalFont()
{
    QFont font = QApplication::font();
    if (!QFontInfo(font).fixedPitch())
        return;
    font.setFamily(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    QApplication::setFont(font);
}

} // namespace ratalia
