#pragma once

#include <QList>
#include <QString>

// A firmware version as the catalogue and the instrument write it: whole numbers separated
// by dots ("1.10.0"). Versions compare numerically part by part, a missing part counting as
// 0 ("1.10" equals "1.10.0", "1.10.0" is newer than "1.9.2"). Blanks around the text are
// ignored; anything else (an empty part, a sign, a letter, a part of more than nine digits)
// makes the version unparsable. Pure: no state beyond the parts.
class FirmwareVersion
{
public:
    FirmwareVersion() = default;
    static FirmwareVersion parse(const QString& text);
    // The dotted numbers a version begins with, a suffix after them set aside ("1.5.0-rc"
    // reads as 1.5.0); unparsable when it does not begin with a number.
    static FirmwareVersion parseLeading(const QString& text);
    // The instrument's firmware offers the transfer mode: 1.5.0 or later, read by
    // parseLeading (a release candidate of 1.5.0 offers it too).
    static bool offersTransfer(const QString& installed);

    bool isValid() const { return !numbers.isEmpty(); }
    QList<int> parts() const { return numbers; }

    // <0, 0 or >0 as a is older than, equal to or newer than b. An unparsable version is
    // older than every parsable one; two unparsable ones are equal.
    static int compare(const FirmwareVersion& a, const FirmwareVersion& b);

    bool operator==(const FirmwareVersion& other) const { return compare(*this, other) == 0; }
    bool operator!=(const FirmwareVersion& other) const { return compare(*this, other) != 0; }
    bool operator<(const FirmwareVersion& other) const { return compare(*this, other) < 0; }
    bool operator>(const FirmwareVersion& other) const { return compare(*this, other) > 0; }

private:
    QList<int> numbers;
};
