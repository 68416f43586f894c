# RtMidi for the Windows build: the header and import library that come with the MinGW Qt
# toolchain (include/rtmidi, lib/librtmidi.dll.a, bin/rtmidi.dll), under the same target name
# the Linux build gets from pkg-config, so that no other list file asks which one it has.
find_path(TAVLO_RTMIDI_INCLUDE_DIR RtMidi.h PATH_SUFFIXES rtmidi REQUIRED)
find_library(TAVLO_RTMIDI_LIBRARY NAMES rtmidi librtmidi.dll.a REQUIRED)
find_file(TAVLO_RTMIDI_DLL rtmidi.dll PATH_SUFFIXES bin REQUIRED)
add_library(PkgConfig::RTMIDI INTERFACE IMPORTED)
set_target_properties(PkgConfig::RTMIDI PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${TAVLO_RTMIDI_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES "${TAVLO_RTMIDI_LIBRARY}")
