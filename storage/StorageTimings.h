#pragma once

// Every wait of the device storage, handed in by the wiring. Tests run with short values.
struct StorageTimings
{
    // Pause between two look-ups of the update volume while it is missing.
    int volumeRetryIntervalMs;
    // Timed look-ups after the first one before the hand-over gives up.
    int maxVolumeRetries;
    // Pause after asking macOS to mount the instrument's disk, before its name is read.
    int macMountSettleMs;
    // Windows: tries to lock the volume for exclusive use before its dismount, this many
    // times this far apart; a volume that never locks is not dismounted (it is in use).
    int volumeLockAttempts;
    int volumeLockRetryMs;

    // The program's values: 3000 ms, 5 retries, 500 ms, 20 lock attempts 500 ms apart.
    static StorageTimings production();
};
