#pragma once

#include <QString>

class QDir;
class ReleaseServer;

// The release server of the demo: the folder given with --releases, or the built-in example
// written into the output folder and served slowly enough that the progress can be seen.
// Used by the demo itself and by tavlo_demo_server, which serves the same releases on the
// Linux side to a demo running under Wine.
namespace DemoServer {

// The folder to serve: the given one, else the built-in example written into
// <out>/releases. Empty, with the reason in error, when the example cannot be written.
QString prepareFolder(const QString& givenFolder, const QDir& outDir, QString* error);

// Serves the folder and starts listening; the built-in example (no folder given) comes in
// pieces with a pause between them. False, with the reason in error, when it cannot start.
bool start(ReleaseServer& server, const QString& folder, bool builtInExample, QString* error);

} // namespace DemoServer
