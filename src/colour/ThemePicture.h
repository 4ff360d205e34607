#pragma once

#include "colour/PreviewScene.h"

#include <QImage>

namespace ovex {

// The picture of a theme: the mock chat window as the preview draws it, seen
// with vision, scaled to fit size with its proportions kept and centred
// (what is left around it transparent; opaque, RGB32, where it fills size). Widget-free and safe to call on any
// thread, so that lists of themes can draw their pictures off the GUI thread.
QImage DrawThemePicture(const PreviewTheme& theme, const QSize& size = MockSize,
                        VisionType vision = VisionType::Normal);

} // namespace ovex
