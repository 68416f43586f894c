#pragma once

// Every wait of the device storage, handed in by the wiring. Tests run with short values.
struct StorageTimings
{
    // Pause between two look-ups of the update volume while it is missing.
    int volumeRetryIntervalMs;
    // Timed look-ups after the first one before the hand-over gives up.
    int maxVolumeRetries;
    // While the update volume is awaited, the list of mounted volumes is read this often, so
    // that a volume that appears is taken at once; the timed look-ups stay the outer limit.
    // 0: only the timed look-ups.
    int volumePollIntervalMs;
    // Pause after asking macOS to mount the instrument's disk, before its name is read.
    int macMountSettleMs;
    // Windows: tries to lock the volume for exclusive use before its dismount, this many
    // times this far apart; a volume that never locks is not dismounted (it is in use).
    int volumeLockAttempts;
    int volumeLockRetryMs;

    // The program's values: 3000 ms, 5 retries, a 50 ms poll, 500 ms, 20 lock attempts 500 ms
    // apart.
    static StorageTimings production();
};
