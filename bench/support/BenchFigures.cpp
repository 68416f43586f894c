#include "BenchFigures.h"

#include <algorithm>

double BenchFigures::median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? -1 : values.at(values.size() / 2);
}

QString BenchFigures::valueAfter(const QStringList& arguments, const QString& option,
                                 const QString& fallback)
{
    const int at = arguments.indexOf(option);
    return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1) : fallback;
}
