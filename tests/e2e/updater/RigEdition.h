#pragma once

#include "app/updater/UpdaterEditionWiring.h"
#include "storage/updater/FileManager.h"

#include <QObject>

#include <functional>

// The end-to-end rig's edition: the update-only one (its wiring, its classes by their paths,
// its window and what its flow has). The full edition's header of the same name is in ../full.
namespace RigEdition {

using Wiring = UpdaterEditionWiring;
inline const char* const kWindow = "qrc:/Tavlo Updater/main.qml";
inline const char* const kName = "updater";
// No second route: a failed download ends the attempt.
constexpr bool kHasCurlFallback = false;
// The instrument takes the volume back itself: nothing is ejected.
constexpr bool kEjects = false;
// Unplugged on the update screen, the window goes back to waiting.
constexpr bool kStaysOnUpdateScreenWhenUnplugged = false;

// There is no second route to wait for.
inline QMetaObject::Connection onCurlStarted(Wiring&, QObject*, std::function<void()>)
{
    return {};
}

} // namespace RigEdition
