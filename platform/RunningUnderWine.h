#pragma once

// Whether this Windows program runs under Wine rather than on Windows itself: Wine's ntdll
// exports wine_get_version, Windows' does not. Always false on other systems.
bool runningUnderWine();
