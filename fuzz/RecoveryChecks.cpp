#include "RecoveryChecks.h"

#include "recovery/RecoveryCopy.h"

#include <QtEndian>

namespace ovex::fuzz {

namespace {

Failure checkDecoding(QByteArrayView bytes)
{
    const auto decoded = DecodeRecoveryCopy(bytes);
    const RecoveryCopy* copy = std::get_if<RecoveryCopy>(&decoded);
    if (!copy)
        return {};
    // Format 1 is read, never written: its copy is written in the current
    // format, the same but for the version and the ending.
    const bool first = copy->ending == CopyEnding::Unrecorded;
    RecoveryCopy current = *copy;
    if (first)
        current.ending = CopyEnding::Open;
    const auto again = EncodeRecoveryCopy(current);
    if (!again)
        return QStringLiteral("a copy of %1 bytes decoded but is too large to encode").arg(bytes.size());
    QByteArray expected = bytes.toByteArray();
    if (first) {
        qToLittleEndian(RecoveryFormatVersion, expected.data() + 8);
        SealRecoveryCopy(expected);
    }
    if (*again != expected)
        return QStringLiteral("a copy of %1 bytes decoded and encodes to other bytes").arg(bytes.size());
    const auto header = PeekRecoveryHeader(bytes.first(RecoveryHeaderBytes), bytes.size());
    const CopyHeader* head = std::get_if<CopyHeader>(&header);
    if (!head || head->ending != copy->ending || head->changedAtMs != copy->changedAtMs)
        return QStringLiteral("a copy decoded but its header alone reads otherwise");
    return {};
}

} // namespace

Failure CheckRecoveryCopy(QByteArrayView bytes)
{
    if (const Failure failure = checkDecoding(bytes))
        return failure;
    if (bytes.size() < RecoveryHeaderBytes)
        return {};
    QByteArray sealed = bytes.toByteArray();
    SealRecoveryCopy(sealed);
    return checkDecoding(sealed);
}

} // namespace ovex::fuzz
