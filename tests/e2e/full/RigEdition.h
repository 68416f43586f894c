#pragma once

#include "app/full/FullEditionWiring.h"
#include "storage/full/FileManager.h"

#include <QObject>

#include <functional>

// The end-to-end rig's edition: the full one (its wiring, its classes by their paths, its
// window and what its flow has).
// The update-only edition's header of the same name is in ../updater.
namespace RigEdition {

using Wiring = FullEditionWiring;
inline const char* const kWindow = "qrc:/Tavlo_App/main.qml";
inline const char* const kName = "full";
// A failed download is tried once more with curl.
constexpr bool kHasCurlFallback = true;
// The volume is ejected after the copy (and can be found busy).
constexpr bool kEjects = true;
// Unplugged on the update screen, the window stays there with "Start Update" dimmed (the
// update-only edition goes back to waiting instead).
constexpr bool kStaysOnUpdateScreenWhenUnplugged = true;

// Calls then once the second route (curl) has started.
inline QMetaObject::Connection onCurlStarted(Wiring& wiring, QObject* context, std::function<void()> then)
{
    return QObject::connect(&wiring.downloader(), &Downloader::downloadStatus, context,
                            [then](bool started) {
                                if (started)
                                    then();
                            });
}

} // namespace RigEdition
