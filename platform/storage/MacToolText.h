#pragma once

#include <string>
#include <vector>

// The text handling of the macOS volume discovery: reading the output of ioreg, diskutil and
// system_profiler, kept apart from running them so that it is built, tested and fuzzed on
// every system. Pure functions.
class MacToolText
{
public:
    // The BSD disk name in ioreg output: the text after the first `"BSD Name" = "` up to the
    // next double quote; empty when the marker or the closing quote is missing.
    static std::string bsdNameFromIoreg(const std::string& ioregOutput);
    // The part of ioreg output that describes the instrument: each line naming "Tavlo-Host" or
    // "File-Stor Gadget" and the 20 lines after it, in order, each ending in a line feed.
    static std::string instrumentSectionOfIoreg(const std::string& ioregOutput);
    // From "diskutil list" output: in the first line containing "Tavlo-Host" or "TAVLO", the
    // text from the first "disk" up to the next blank or tab (or the line's end).
    static std::string diskNameFromDiskutilList(const std::string& diskutilOutput);
    // The update-only edition's discovery, from "system_profiler SPUSBDataType" output: empty
    // unless the output holds "Tavlo-Host", "File-Stor Gadget" and "BSD Name: "; otherwise
    // the text after the first "BSD Name: " up to the next line feed (or the end), without a
    // trailing carriage return. A name that is not a plain disk name (letters and digits
    // only) gives the empty string.
    static std::string diskNameFromSystemProfiler(const std::string& systemProfilerOutput);

    // The lines of text (without their line ends) that contain key, in order.
    static std::vector<std::string> linesContaining(const std::string& text, const std::string& key);
    // The last field of a line whose fields are separated by blanks and tabs; empty when
    // there is none.
    static std::string lastField(const std::string& line);
    // The text between the first and the second colon of a line (to its end when there is
    // no second colon); empty when there is no colon.
    static std::string secondColonField(const std::string& line);
    // The text after the last occurrence of key in a line, without the blanks and tabs that
    // follow the key; the whole line when key is not in it.
    static std::string afterLast(const std::string& line, const std::string& key);
    // The pieces joined by line feeds.
    static std::string joinedLines(const std::vector<std::string>& pieces);

    // True for a non-empty name of ASCII letters and digits only, such as "disk4s1".
    static bool isPlainDiskName(const std::string& name);
    // True for a BSD disk identifier and nothing else: "disk" and one or more digits,
    // optionally followed by "s" and one or more digits ("disk4", "disk4s1"). The only names
    // the discovery hands to diskutil.
    static bool isDiskIdentifier(const std::string& name);
    // Strips blanks, tabs, carriage returns and line feeds from both ends.
    static std::string trimmed(const std::string& text);
};
