#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What the benchmarks share beyond memory: the median of their rounds and their options.
class BenchFigures
{
public:
    // The median of the values (the upper one of an even count); -1 for none.
    static double median(QList<double> values);
    // The value after option on the command line ("--size 64"), else the fallback.
    static QString valueAfter(const QStringList& arguments, const QString& option,
                              const QString& fallback);
};
