#include "AppIdentity.h"

namespace {
const char* const kOrganizationName = "Tavlo-Instruments";
const char* const kOrganizationDomain = "tavlo-instruments.com";
const char* const kWindowIcon = ":/icons/icons/iosicon.png";
const char* const kWindowIconSize = ":/icons/icons/window/iosicon-%1.png";
} // namespace

AppIdentity AppIdentity::fullEdition()
{
    return {QStringLiteral("Tavlo Updater v1.3.1"), QString::fromLatin1(kOrganizationName),
            QString::fromLatin1(kOrganizationDomain), QStringLiteral("1.3.1"),
            QString::fromLatin1(kWindowIcon), QString::fromLatin1(kWindowIconSize)};
}

AppIdentity AppIdentity::updateOnlyEdition()
{
    return {QStringLiteral("Tavlo Updater"), QString::fromLatin1(kOrganizationName),
            QString::fromLatin1(kOrganizationDomain), QStringLiteral("1.0.0"),
            QString::fromLatin1(kWindowIcon), QString::fromLatin1(kWindowIconSize)};
}
