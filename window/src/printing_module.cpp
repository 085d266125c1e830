#include "window/printing_module.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace ratalia {
namespace {

ChoosePrinter load()
{
    const QString program = QCoreApplication::applicationDirPath();
    const QString name = QString::fromLatin1(printingModuleName);
    for (const QString& place : {QDir(program).filePath(name),
                                 QDir(program).filePath(QStringLiteral(RATALIA_PRINTING_DIR "/") + name), name}) {
        QLibrary module(place);
        if (auto* entry = reinterpret_cast<ChoosePrinter>(module.resolve(choosePrinterEntry)))
            return entry; // the module stays loaded while the program runs
    }
    return nullptr;
}

} // namespace

ChoosePrinter printingModule()
{
    static const ChoosePrinter entry = load();
    return entry;
}

} // namespace ratalia
