#include "recovery/RecoveryCopy.h"

#include <QCryptographicHash>
#include <QtEndian>

#include <cstring>

namespace ovex {

namespace {

// The first byte is not ASCII and a line end follows, as in PNG, so that a
// text file or a copy mangled in transfer never passes for one.
constexpr char Magic[] = "\x89OVXRCY\n";
constexpr qsizetype MagicBytes = 8;
constexpr qsizetype VersionAt = 8;
constexpr qsizetype EndingAt = 10;
constexpr qsizetype ChangedAt = 12;
constexpr qsizetype BodyLengthAt = 20;
constexpr qsizetype ChecksumAt = 24;
constexpr qsizetype ChecksumBytes = 32;
static_assert(ChecksumAt + ChecksumBytes == RecoveryHeaderBytes);
constexpr quint16 FirstFormat = 1;

// What format 2 may hold; Unrecorded stands for format 1's field only.
bool knownEnding(quint16 value)
{
    return value <= quint16(CopyEnding::ReplacedByRecovered);
}

template <typename T>
T numberAt(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<T>(bytes.data() + at);
}

template <typename T>
void appendNumber(QByteArray& out, T value)
{
    char raw[sizeof(T)];
    qToLittleEndian(value, raw);
    out.append(raw, sizeof raw);
}

// What the checksum covers: the header after the magic, up to the checksum
// itself, and the body.
QByteArray checksumOf(QByteArrayView bytes)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(bytes.sliced(VersionAt, ChecksumAt - VersionAt));
    hash.addData(bytes.sliced(RecoveryHeaderBytes));
    return hash.result();
}

constexpr qsizetype TextCount = SlotCount + 1 + SizeSlotCount;

qsizetype encodedSize(const RecoveryCopy& copy)
{
    qsizetype units = 0;
    for (const SlotState& slot : copy.state.slots)
        units += slot.tag.size();
    for (int field = NameField; field < FieldCount; ++field)
        units += TextOf(copy.state, field).size();
    return RecoveryHeaderBytes + SlotCount * (1 + 4) + TextCount * 4 + units * 2;
}

void appendText(QByteArray& out, const QString& text)
{
    appendNumber(out, quint32(text.size()));
    const qsizetype at = out.size();
    out.resize(at + text.size() * 2);
    qToLittleEndian<quint16>(text.utf16(), text.size(), out.data() + at);
}

// Per slot its tick, colour and value text; the name; the five size texts.
void appendBody(QByteArray& out, const ThemeState& state)
{
    for (const SlotState& slot : state.slots) {
        appendNumber(out, quint8(slot.ticked));
        appendNumber(out, qint32(slot.color));
        appendText(out, slot.tag);
    }
    for (int field = NameField; field < FieldCount; ++field)
        appendText(out, TextOf(state, field));
}

// Reads the body front to back; any read past its end, or any value the
// encoder never writes, makes it fail for good.
class BodyReader
{
public:
    explicit BodyReader(QByteArrayView body) : m_body(body) {}

    bool Ok() const { return m_ok; }
    bool AtEnd() const { return m_at == m_body.size(); }

    template <typename T>
    T Number()
    {
        if (!take(sizeof(T)))
            return T{};
        return numberAt<T>(m_body, m_at - qsizetype(sizeof(T)));
    }

    bool Flag()
    {
        const auto value = Number<quint8>();
        m_ok = m_ok && value <= 1;
        return value == 1;
    }

    QString Text()
    {
        const qint64 units = Number<quint32>();
        if (!m_ok || units > (m_body.size() - m_at) / 2) {
            m_ok = false;
            return {};
        }
        QString text(qsizetype(units), Qt::Uninitialized);
        qFromLittleEndian<quint16>(m_body.data() + m_at, qsizetype(units), text.data());
        m_at += qsizetype(units) * 2;
        return text;
    }

private:
    bool take(qsizetype n)
    {
        m_ok = m_ok && m_body.size() - m_at >= n;
        if (m_ok)
            m_at += n;
        return m_ok;
    }

    QByteArrayView m_body;
    qsizetype m_at = 0;
    bool m_ok = true;
};

} // namespace

void SealRecoveryCopy(QByteArray& bytes)
{
    Q_ASSERT(bytes.size() >= RecoveryHeaderBytes);
    qToLittleEndian(quint32(bytes.size() - RecoveryHeaderBytes), bytes.data() + BodyLengthAt);
    const QByteArray checksum = checksumOf(bytes);
    std::memcpy(bytes.data() + ChecksumAt, checksum.constData(), ChecksumBytes);
}

QString StateDigest(const ThemeState& state)
{
    QByteArray body;
    appendBody(body, state);
    return QString::fromLatin1(QCryptographicHash::hash(body, QCryptographicHash::Sha256).left(16).toHex());
}

std::optional<QByteArray> EncodeRecoveryCopy(const RecoveryCopy& copy)
{
    const qsizetype size = encodedSize(copy);
    if (size > MaxRecoveryCopyBytes)
        return std::nullopt;
    QByteArray out;
    out.reserve(size);
    out.append(Magic, MagicBytes);
    appendNumber(out, RecoveryFormatVersion);
    Q_ASSERT(knownEnding(quint16(copy.ending)));
    appendNumber(out, quint16(copy.ending));
    appendNumber(out, copy.changedAtMs);
    out.append(4 + ChecksumBytes, '\0');  // body length and checksum: sealed below
    appendBody(out, copy.state);
    Q_ASSERT(out.size() == size);
    SealRecoveryCopy(out);
    return out;
}

std::variant<CopyDefect, CopyHeader> PeekRecoveryHeader(QByteArrayView bytes, qint64 totalBytes)
{
    if (totalBytes > MaxRecoveryCopyBytes)
        return CopyDefect::Oversized;
    const qsizetype known = std::min<qsizetype>(bytes.size(), MagicBytes);
    if (bytes.first(known) != QByteArrayView(Magic, known))
        return CopyDefect::Foreign;
    if (bytes.size() < RecoveryHeaderBytes)
        return CopyDefect::Truncated;
    const auto version = numberAt<quint16>(bytes, VersionAt);
    if (version > RecoveryFormatVersion)
        return CopyDefect::FutureVersion;
    if (version < FirstFormat)
        return CopyDefect::Damaged;
    const qint64 body = numberAt<quint32>(bytes, BodyLengthAt);
    if (totalBytes - RecoveryHeaderBytes < body)
        return CopyDefect::Truncated;
    if (totalBytes - RecoveryHeaderBytes > body)
        return CopyDefect::Damaged;
    const auto ending = numberAt<quint16>(bytes, EndingAt);
    return CopyHeader{version == FirstFormat && ending == 0 ? CopyEnding::Unrecorded : CopyEnding(ending),
                      numberAt<qint64>(bytes, ChangedAt)};
}

std::variant<CopyDefect, RecoveryCopy> DecodeRecoveryCopy(QByteArrayView bytes)
{
    const auto header = PeekRecoveryHeader(bytes, bytes.size());
    if (const CopyDefect* defect = std::get_if<CopyDefect>(&header))
        return *defect;
    if (checksumOf(bytes) != bytes.sliced(ChecksumAt, ChecksumBytes))
        return CopyDefect::Damaged;
    // Past the checksum only a faulty writer or a forger could go wrong:
    // format 1 never wrote a flag (its "clean" one was always off).
    const CopyHeader& head = std::get<CopyHeader>(header);
    const auto ending = numberAt<quint16>(bytes, EndingAt);
    if (numberAt<quint16>(bytes, VersionAt) == FirstFormat ? ending != 0 : !knownEnding(ending))
        return CopyDefect::Malformed;

    RecoveryCopy copy;
    copy.ending = head.ending;
    copy.changedAtMs = head.changedAtMs;
    BodyReader in(bytes.sliced(RecoveryHeaderBytes));
    for (SlotState& slot : copy.state.slots) {
        slot.ticked = in.Flag();
        slot.color = in.Number<qint32>();
        slot.tag = in.Text();
    }
    for (int field = NameField; field < FieldCount; ++field)
        TextOf(copy.state, field) = in.Text();
    if (!in.Ok() || !in.AtEnd())
        return CopyDefect::Malformed;
    return copy;
}

} // namespace ovex
