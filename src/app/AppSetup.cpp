#include "app/AppSetup.h"

#include "app/AppStyle.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QResource>
#include <QStyleFactory>
#include <QWidget>

namespace ovex {

namespace {

constexpr int UiPixelSize = 11;

// An uncompressed resource lives as long as the program: handing its bytes
// over without a copy spares inflating them and 400 KiB of memory per face.
void addFont(const QString& path)
{
    const QResource resource(path);
    if (resource.isValid() && resource.compressionAlgorithm() == QResource::NoCompression) {
        QFontDatabase::addApplicationFontFromData(
            QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()), resource.size()));
    } else {
        QFontDatabase::addApplicationFont(path);
    }
}

} // namespace

QFont UiFont(bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(UiPixelSize);
    font.setBold(bold);
    return font;
}

void BringToFront(QWidget& window)
{
    if (window.isMinimized())
        window.showNormal();
    window.show();
    window.raise();
    window.activateWindow();
}

void AddEmbeddedFonts()
{
    // Adding the same font again is harmless: the database keeps one family.
    addFont(QStringLiteral(":/fonts/LiberationSans-Regular.ttf"));
    addFont(QStringLiteral(":/fonts/LiberationSans-Bold.ttf"));
}

void ConfigureApplication(QApplication& app)
{
    AddEmbeddedFonts();
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(new AppStyle(fusion));
    app.setFont(UiFont(false));
}

} // namespace ovex
