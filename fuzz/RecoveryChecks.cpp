#include "RecoveryChecks.h"

#include "theme/RecoveryCopy.h"

namespace ovex::fuzz {

namespace {

Failure checkDecoding(QByteArrayView bytes)
{
    const auto decoded = DecodeRecoveryCopy(bytes);
    const RecoveryCopy* copy = std::get_if<RecoveryCopy>(&decoded);
    if (!copy)
        return {};
    const auto again = EncodeRecoveryCopy(*copy);
    if (!again)
        return QStringLiteral("a copy of %1 bytes decoded but is too large to encode").arg(bytes.size());
    if (*again != bytes)
        return QStringLiteral("a copy of %1 bytes decoded and encodes to other bytes").arg(bytes.size());
    // The store sorts and passes over copies by their header alone.
    const auto header = PeekRecoveryHeader(bytes.first(RecoveryHeaderBytes), bytes.size());
    const CopyHeader* head = std::get_if<CopyHeader>(&header);
    if (!head || head->clean != copy->clean || head->changedAtMs != copy->changedAtMs)
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
