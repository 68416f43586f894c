# The device link's Windows sources and their check program.
set(TAVLO_MIDI_DIR ${TAVLO_ROOT}/platform/midi)

add_library(tavlo_windows_midi STATIC
    ${TAVLO_MIDI_DIR}/UsbNameMatching.cpp
    ${TAVLO_MIDI_DIR}/SetupApiUsbLookup.cpp
    ${TAVLO_MIDI_DIR}/WinMmOpenProblem.cpp
    ${TAVLO_MIDI_DIR}/WinMmPortCheck.cpp
)
target_include_directories(tavlo_windows_midi PUBLIC ${TAVLO_MIDI_DIR} ${TAVLO_ROOT}/platform)
target_link_libraries(tavlo_windows_midi PUBLIC setupapi winmm)

add_executable(tavlo_windows_midi_check ${TAVLO_ROOT}/tests/device/windows/tst_windows_usb_names.cpp)
target_include_directories(tavlo_windows_midi_check PRIVATE ${TAVLO_ROOT}/tests/device)
target_link_libraries(tavlo_windows_midi_check PRIVATE tavlo_windows_midi)
