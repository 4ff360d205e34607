#include "app/WebLinks.h"

#include "AppInfo.h"

namespace ovex {

QString WebsiteAddress()
{
    return QString::fromUtf8(appinfo::Website);
}

QString SupportAddress()
{
    return QString::fromUtf8(appinfo::Support);
}

} // namespace ovex
