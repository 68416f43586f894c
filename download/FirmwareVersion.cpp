#include "FirmwareVersion.h"

#include <QStringView>
#include <QVarLengthArray>

FirmwareVersion FirmwareVersion::parse(const QString& text)
{
    FirmwareVersion version;
    const QStringView trimmed = QStringView(text).trimmed();
    if (trimmed.isEmpty())
        return version;
    // Gathered in place, then made into the list at once.
    QVarLengthArray<int, 8> numbers;
    int value = 0;
    int digits = 0;
    for (const QChar c : trimmed) {
        if (c == QLatin1Char('.')) {
            if (digits == 0)
                return version;
            numbers.append(value);
            value = 0;
            digits = 0;
            continue;
        }
        if (c < QLatin1Char('0') || c > QLatin1Char('9') || digits == 9)
            return version;
        value = value * 10 + (c.unicode() - '0');
        ++digits;
    }
    if (digits == 0)
        return version;
    numbers.append(value);
    version.numbers = QList<int>(numbers.begin(), numbers.end());
    return version;
}

FirmwareVersion FirmwareVersion::parseLeading(const QString& text)
{
    const QStringView trimmed = QStringView(text).trimmed();
    qsizetype end = 0;
    const auto numeric = [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.');
    };
    while (end < trimmed.size() && numeric(trimmed.at(end)))
        ++end;
    // A dot that ends the numbers belongs to the suffix ("1.5.-rc" reads as 1.5).
    while (end > 0 && trimmed.at(end - 1) == QLatin1Char('.'))
        --end;
    return parse(trimmed.left(end).toString());
}

bool FirmwareVersion::offersTransfer(const QString& installed)
{
    static const FirmwareVersion first = parse(QStringLiteral("1.5.0"));
    const FirmwareVersion version = parseLeading(installed);
    return version.isValid() && !(version < first);
}

int FirmwareVersion::compare(const FirmwareVersion& a, const FirmwareVersion& b)
{
    if (!a.isValid() || !b.isValid())
        return int(a.isValid()) - int(b.isValid());
    const int count = qMax(a.numbers.size(), b.numbers.size());
    for (int i = 0; i < count; ++i) {
        const int left = i < a.numbers.size() ? a.numbers.at(i) : 0;
        const int right = i < b.numbers.size() ? b.numbers.at(i) : 0;
        if (left != right)
            return left < right ? -1 : 1;
    }
    return 0;
}
