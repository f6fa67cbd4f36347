#include "QtChineseTexts.h"

#include <QCoreApplication>
#include <QDebug>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool QtChineseTexts::install()
{
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);

    const QString folder = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        qDebug() << "Qt's Chinese translation qtbase_zh_CN is missing in" << folder;
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
