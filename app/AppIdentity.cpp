#include "AppIdentity.h"

#include "TavloVersion.h"

namespace {
const char* const kOrganizationName = "Tavlo-Instruments";
const char* const kOrganizationDomain = "tavlo-instruments.com";
const char* const kWindowIcon = ":/icons/icons/iosicon.png";
const char* const kWindowIconSize = ":/icons/icons/window/iosicon-%1.png";

AppIdentity identity(const char* name, const char* desktopId)
{
    return {QString::fromLatin1(name),
            QString::fromLatin1(kOrganizationName),
            QString::fromLatin1(kOrganizationDomain),
            QStringLiteral(TAVLO_VERSION),
            QString::fromLatin1(desktopId),
            QString::fromLatin1(kWindowIcon),
            QString::fromLatin1(kWindowIconSize)};
}
} // namespace

AppIdentity AppIdentity::fullEdition()
{
    return identity("Tavlo", "com.tavlo_instruments.Tavlo");
}

AppIdentity AppIdentity::updateOnlyEdition()
{
    return identity("Tavlo Updater", "com.tavlo_instruments.TavloUpdater");
}
