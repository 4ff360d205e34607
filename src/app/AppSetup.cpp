#include "app/AppSetup.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QStyleFactory>

namespace ovex {

namespace {
constexpr int UiPixelSize = 11;
}

QFont UiFont(bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(UiPixelSize);
    font.setBold(bold);
    return font;
}

void ConfigureApplication(QApplication& app)
{
    // Adding the same font again is harmless: the database keeps one family.
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/LiberationSans-Regular.ttf"));
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/LiberationSans-Bold.ttf"));
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    app.setFont(UiFont(false));
}

} // namespace ovex
