#pragma once

#include <QColor>
#include <QHash>
#include <QString>

#include <optional>

namespace ovex {

// A colour scheme from another program, as read from its file: the colours
// the mapping to theme slots uses, under the names the file gives them.

enum class SchemeFormat { Base16, Base24, Kde };

// What the file says it is for; base16's "variant:". KDE files say nothing.
enum class SchemeVariant { Unstated, Dark, Light };

struct Scheme
{
    SchemeFormat format = SchemeFormat::Base16;
    // The scheme's own name as a theme file can hold it (SchemeName), or the
    // file's base name where it gives none.
    QString name;
    // The name as the file gives it; empty where it gives none.
    QString givenName;
    SchemeVariant variant = SchemeVariant::Unstated;
    // base16/base24: "base00".."base17". KDE: "View/BackgroundNormal" for
    // BackgroundNormal in [Colors:View]. Only the colours the mapping uses.
    QHash<QString, QColor> colors;
};

// A scheme, or why the file was refused ("base0D is missing").
struct SchemeReading
{
    std::optional<Scheme> scheme;
    QString error;
};

inline SchemeReading SchemeRefused(const QString& reason) { return {std::nullopt, reason}; }

} // namespace ovex
