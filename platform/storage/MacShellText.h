#pragma once

#include <string>

// The text handling of the macOS volume discovery, kept apart from the shell calls so that
// it is built and tested on every system.
class MacShellText
{
public:
    // The BSD disk name in ioreg output: the text after the first `"BSD Name" = "` up to the
    // next double quote; empty when the marker or the closing quote is missing.
    static std::string bsdNameFromIoreg(const std::string& ioregOutput);
    // From "diskutil list" output: in the first line containing "Tavlo-Host" or "TAVLO", the
    // text from the first "disk" up to the next blank or tab (or the line's end).
    static std::string diskNameFromDiskutilList(const std::string& diskutilOutput);
    // The update-only edition's discovery, from "system_profiler SPUSBDataType" output: empty
    // unless the output holds "Tavlo-Host", "File-Stor Gadget" and "BSD Name: "; otherwise
    // the text after the first "BSD Name: " up to the next line feed (or the end), without a
    // trailing carriage return. A name that is not a plain disk name (letters and digits
    // only) gives the empty string: it goes into shell commands.
    static std::string diskNameFromSystemProfiler(const std::string& systemProfilerOutput);
    // True for a non-empty name of ASCII letters and digits only, such as "disk4s1": the only
    // kind of disk name that may go into a shell command.
    static bool isPlainDiskName(const std::string& name);
    // True for a BSD disk identifier and nothing else: "disk" and one or more digits,
    // optionally followed by "s" and one or more digits ("disk4", "disk4s1"). The only names
    // the discovery hands to diskutil.
    static bool isDiskIdentifier(const std::string& name);
    // Strips blanks, tabs, carriage returns and line feeds from both ends.
    static std::string trimmed(const std::string& text);
};
