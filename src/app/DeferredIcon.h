#pragma once

#include <QIcon>
#include <QList>
#include <QSize>

#include <functional>

namespace ovex {

// An icon that make() builds the first time it is drawn or asked about.
// Reading the first picture file loads every image-format plug-in Qt has,
// which took a third of building the main window; most icons are not drawn
// that soon.
// sizes, when given, are those of the icon's normal pictures: they are
// answered without building it, as the window system asks for them when a
// window is created.
QIcon DeferredIcon(std::function<QIcon()> make, QList<QSize> sizes = {});

} // namespace ovex
