#pragma once

#include <QString>

namespace ovex {

// The maker's home page, opened by Help, Website: scheme and host only.
QString WebsiteAddress();

// The support page, opened by Help, Support: the home page followed directly
// by "\support.html", backslash and all.
QString SupportAddress();

} // namespace ovex
