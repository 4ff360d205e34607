#include "schemes/YamlScheme.h"

#include "schemes/SchemeSources.h"
#include "schemes/SchemeText.h"

#include <yaml-cpp/eventhandler.h>
#include <yaml-cpp/exceptions.h>
#include <yaml-cpp/mark.h>
#include <yaml-cpp/parser.h>

#include <algorithm>
#include <sstream>
#include <unordered_map>
#include <vector>

namespace ovex {

namespace {

// A scheme needs two levels (the palette map in the top map); a little more
// is allowed for keys a reader ignores. yaml-cpp itself stops at 2000 levels,
// by which time a deep nest has cost far more stack than it should.
constexpr std::size_t MaxDepth = 16;

struct TooDeep {};

struct Value
{
    enum class Kind { Scalar, Null, Map, Other };
    Kind kind = Kind::Null;
    QString text;
};

using Entries = QHash<QString, Value>;

bool isColourKey(const QString& key)
{
    return key.size() == 6 && key.startsWith(QLatin1String("base"))
           && std::all_of(key.begin() + 4, key.end(), [](QChar c) { return c.isDigit() || (c >= u'A' && c <= u'F'); });
}

// "base0d", "Base0D" and "base0D" are the same colour.
QString canonicalKey(const QString& key)
{
    if (key.size() != 6 || !key.startsWith(QLatin1String("base"), Qt::CaseInsensitive))
        return key;
    const QString canonical = QStringLiteral("base") + key.mid(4).toUpper();
    return isColourKey(canonical) ? canonical : key;
}

// Keeps the top map and the palette map, as scalars by key; everything else
// is walked past without being kept, so an alias is never expanded.
class SchemeEvents final : public YAML::EventHandler
{
public:
    bool rootIsMap = false;
    Entries top;
    Entries palette;

    void OnDocumentStart(const YAML::Mark&) override {}
    void OnDocumentEnd() override {}
    void OnNull(const YAML::Mark&, YAML::anchor_t anchor) override { arrive({Value::Kind::Null, {}}, anchor); }
    void OnAlias(const YAML::Mark&, YAML::anchor_t anchor) override
    {
        const auto it = m_anchored.find(anchor);
        arrive(it != m_anchored.end() ? it->second : Value{Value::Kind::Other, {}}, YAML::NullAnchor);
    }
    void OnScalar(const YAML::Mark&, const std::string&, YAML::anchor_t anchor, const std::string& value) override
    {
        arrive({Value::Kind::Scalar, QString::fromStdString(value)}, anchor);
    }
    void OnSequenceStart(const YAML::Mark&, const std::string&, YAML::anchor_t, YAML::EmitterStyle::value) override
    {
        open(false);
    }
    void OnSequenceEnd() override { m_frames.pop_back(); }
    void OnMapStart(const YAML::Mark&, const std::string&, YAML::anchor_t, YAML::EmitterStyle::value) override
    {
        open(true);
    }
    void OnMapEnd() override { m_frames.pop_back(); }

private:
    enum class Target { None, Top, Palette };
    struct Frame
    {
        bool isMap;
        Target target;
        bool atKey = true;
        std::optional<QString> key;
    };

    // A node arrives: a key, or the value of the key before it.
    Target arrive(const Value& value, YAML::anchor_t anchor = YAML::NullAnchor)
    {
        if (anchor != YAML::NullAnchor && value.kind != Value::Kind::Map)
            m_anchored[anchor] = value;
        if (m_frames.empty()) {
            // The root: one per document, and only the first is read.
            rootIsMap = value.kind == Value::Kind::Map;
            return rootIsMap ? Target::Top : Target::None;
        }
        Frame& frame = m_frames.back();
        if (!frame.isMap)
            return Target::None;
        if (frame.atKey) {
            frame.atKey = false;
            frame.key = value.kind == Value::Kind::Scalar ? std::optional(canonicalKey(value.text))
                                                          : std::nullopt;
            return Target::None;
        }
        frame.atKey = true;
        if (!frame.key || frame.target == Target::None)
            return Target::None;
        (frame.target == Target::Top ? top : palette)[*frame.key] = value;
        if (frame.target == Target::Top && *frame.key == QLatin1String("palette") && value.kind == Value::Kind::Map) {
            palette.clear();
            return Target::Palette;
        }
        return Target::None;
    }

    void open(bool isMap)
    {
        const Target target = arrive({isMap ? Value::Kind::Map : Value::Kind::Other, {}});
        if (m_frames.size() >= MaxDepth)
            throw TooDeep{};
        m_frames.push_back({isMap, target, true, std::nullopt});
    }

    std::vector<Frame> m_frames;
    std::unordered_map<YAML::anchor_t, Value> m_anchored;
};

QString yamlError(const YAML::Exception& e)
{
    if (e.mark.is_null())
        return QStringLiteral("not valid YAML: %1").arg(QString::fromStdString(e.msg));
    return QStringLiteral("not valid YAML: line %1, column %2: %3")
        .arg(e.mark.line + 1)
        .arg(e.mark.column + 1)
        .arg(QString::fromStdString(e.msg));
}

QString scalarText(const Entries& entries, const char* key)
{
    const auto it = entries.constFind(QLatin1String(key));
    return it != entries.cend() && it->kind == Value::Kind::Scalar ? it->text.trimmed() : QString();
}

bool hasBase24Colours(const Entries& colours)
{
    for (int k = 0; k <= 7; ++k) {
        if (colours.contains(QStringLiteral("base1%1").arg(k)))
            return true;
    }
    return false;
}

bool hasColourKey(const Entries& entries)
{
    const QList<QString> keys = entries.keys();
    return std::any_of(keys.begin(), keys.end(), isColourKey);
}

SchemeReading buildScheme(const SchemeEvents& events, const QString& fallbackName)
{
    if (!events.rootIsMap)
        return SchemeRefused(NotASchemeReason());
    const Entries& top = events.top;
    const auto palette = top.constFind(QStringLiteral("palette"));
    const bool hasSystem = top.contains(QStringLiteral("system"));
    const QString system = scalarText(top, "system");

    Scheme scheme;
    if (hasSystem && system != QLatin1String("base16") && system != QLatin1String("base24"))
        return SchemeRefused(QStringLiteral("system \"%1\" is neither base16 nor base24").arg(system.left(40)));
    const Entries* colours = &top;
    if (palette != top.cend()) {
        if (palette->kind != Value::Kind::Map)
            return SchemeRefused(QStringLiteral("palette is not a map of colours"));
        colours = &events.palette;
    } else if (hasSystem) {
        return SchemeRefused(QStringLiteral("palette is missing"));
    } else if (!hasColourKey(top) && !top.contains(QStringLiteral("scheme"))) {
        return SchemeRefused(NotASchemeReason());
    }
    scheme.format = system == QLatin1String("base24") || (!hasSystem && hasBase24Colours(*colours))
                        ? SchemeFormat::Base24 : SchemeFormat::Base16;

    // Every colour read is checked, the needed ones and base24's extras
    // that the scheme has.
    const auto read = [&](const QString& key) -> std::optional<QString> {
        const auto it = colours->constFind(key);
        if (it->kind == Value::Kind::Null)
            return QStringLiteral("%1 has no value (a # outside quotes starts a comment)").arg(key);
        const QString text = it->kind == Value::Kind::Scalar ? it->text.trimmed() : QString();
        const std::optional<QColor> colour = it->kind == Value::Kind::Scalar ? HexColor(text) : std::nullopt;
        if (!colour) {
            const QString found = it->kind == Value::Kind::Scalar ? FoundText(text)
                                  : it->kind == Value::Kind::Map  ? QStringLiteral("a map")
                                                                  : QStringLiteral("a list");
            return NotAColourReason(key, found, HexColourForm);
        }
        scheme.colors.insert(key, *colour);
        return std::nullopt;
    };
    for (const QString& key : NeededColors(scheme.format)) {
        if (!colours->contains(key))
            return SchemeRefused(QStringLiteral("%1 is missing").arg(key));
        if (const std::optional<QString> error = read(key))
            return SchemeRefused(*error);
    }
    for (const QString& key : OptionalColors(scheme.format)) {
        if (!colours->contains(key))
            continue;
        if (const std::optional<QString> error = read(key))
            return SchemeRefused(*error);
    }

    // The flat layout names the scheme "scheme:", the palette layout "name:".
    const bool flat = palette == top.cend();
    QString name = scalarText(top, flat ? "scheme" : "name");
    if (name.isEmpty())
        name = scalarText(top, flat ? "name" : "scheme");
    scheme.givenName = name;
    scheme.name = SchemeName(name, fallbackName);
    const QString variant = scalarText(top, "variant").toLower();
    scheme.variant = variant == QLatin1String("dark")    ? SchemeVariant::Dark
                     : variant == QLatin1String("light") ? SchemeVariant::Light
                                                         : SchemeVariant::Unstated;
    return {scheme, {}};
}

} // namespace

SchemeReading ReadYamlScheme(QByteArrayView bytes, const QString& fallbackName)
{
    if (bytes.size() > MaxYamlSchemeBytes)
        return SchemeRefused(QStringLiteral("larger than %1 KiB, too large for a base16 or base24 scheme")
                                 .arg(MaxYamlSchemeBytes / 1024));
    std::istringstream in(std::string(bytes.data(), std::size_t(bytes.size())));
    SchemeEvents events;
    try {
        YAML::Parser parser(in);
        parser.HandleNextDocument(events);
    } catch (const TooDeep&) {
        return SchemeRefused(QStringLiteral("nested more than %1 levels deep").arg(MaxDepth));
    } catch (const YAML::Exception& e) {
        return SchemeRefused(yamlError(e));
    } catch (const std::exception& e) {
        return SchemeRefused(QStringLiteral("not valid YAML: %1").arg(QString::fromLocal8Bit(e.what())));
    }
    return buildScheme(events, fallbackName);
}

} // namespace ovex
