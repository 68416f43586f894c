# The device storage's Windows sources and their check program (linked, not run).
add_library(tavlo_windows_storage STATIC
    ${TAVLO_ROOT}/platform/storage/WindowsDevicePath.cpp
    ${TAVLO_ROOT}/platform/storage/WindowsVolumeDismount.cpp
    ${TAVLO_ROOT}/platform/storage/VolumeLockSequence.cpp
    ${TAVLO_ROOT}/platform/storage/FileSync.cpp
    ${TAVLO_ROOT}/platform/storage/FileReplace.cpp
    ${TAVLO_ROOT}/platform/storage/UncachedReader.cpp
    ${TAVLO_ROOT}/platform/storage/MacToolText.cpp
    ${TAVLO_ROOT}/platform/storage/UsbDeviceChain.cpp
    ${TAVLO_ROOT}/platform/storage/WindowsVolumeUsb.cpp
)
target_include_directories(tavlo_windows_storage PUBLIC ${TAVLO_ROOT}/platform/storage ${TAVLO_ROOT}/platform)
target_link_libraries(tavlo_windows_storage PUBLIC tavlo_windows_midi setupapi cfgmgr32)

add_executable(windows_storage_check ${TAVLO_ROOT}/tests/storage/tst_windows_storage.cpp)
target_link_libraries(windows_storage_check PRIVATE tavlo_windows_storage)
