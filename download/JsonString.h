#pragma once

#include <QLatin1String>
#include <QString>

// One JSON string in a catalogue's bytes, read as the JSON document reading reads it: UTF-8
// checked strictly (no overlong form, surrogate, stray or missing continuation byte, nothing
// beyond U+10FFFF), control characters taken as they stand, the escapes \" \\ \/ \b \f \n
// \r \t and \uXXXX (one UTF-16 unit each, a lone surrogate kept), any other escaped ASCII
// character standing for itself. Pure.
class JsonString
{
public:
    // Reads the string at p (at its opening quote) and leaves p just past its closing one.
    // Its text goes to *text unless text is null. With keyBytes (a key), a string without
    // escapes gives its raw bytes there instead, for a comparison with the fields' names
    // without making a QString; one with escapes still gives its text. False when the string
    // is malformed or cut off, and for an escaped byte beyond ASCII (the document reading
    // takes the byte alone as a character: left to it); p is then of no further use.
    static bool read(const char*& p, const char* end, QString* text,
                     QLatin1String* keyBytes = nullptr);
};
