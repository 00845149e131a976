#pragma once

#include <QString>

#include "host/appinfo.h"

namespace brimwell {

// "Version 1.0.1", from the version numbers of the build.
inline QString versionText() {
    return QStringLiteral("Version %1.%2.%3")
        .arg(appinfo::kVersionMajor)
        .arg(appinfo::kVersionMinor)
        .arg(appinfo::kVersionRevision);
}

}  // namespace brimwell
