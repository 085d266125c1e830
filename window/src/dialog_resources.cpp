#include "window/dialog_resources.h"

#include <QApplication>
#include <QFontInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ratalia {

void loadDialogResources()
{
    // The translator belongs to the application: its presence says it is done.
    const QString name = QStringLiteral("ItalianQtTexts");
    if (!qApp || qApp->findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly))
        return;
    auto* texts = new QTranslator(qApp);
    texts->setObjectName(name);
    if (texts->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(texts);

    QFont font = QApplication::font();
    if (!QFontInfo(font).fixedPitch())
        return;
    font.setFamily(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    QApplication::setFont(font);
}

} // namespace ratalia
