// Makes the desktop icon in the hicolor sizes from the 1024x1024 artwork, at build time:
//
//     make_icon_sizes SOURCE.png OUT_DIR NAME SIZE...
//
// writes OUT_DIR/<size>x<size>/apps/NAME.png for every size, reads each back and checks its
// dimensions. Fails, naming every size that could not be made, when the source cannot be
// read, is not square or is smaller than a size asked for (the icon is never scaled up).
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QStringList>

#include <cstdio>

namespace {

QString iconPath(const QString& outDir, int size, const QString& name)
{
    return QStringLiteral("%1/%2x%2/apps/%3.png").arg(outDir).arg(size).arg(name);
}

// Empty when the icon of that size was written and reads back at that size; else why not.
QString makeSize(const QImage& source, const QString& outDir, int size, const QString& name)
{
    if (size <= 0)
        return QStringLiteral("not a size");
    if (source.width() < size)
        return QStringLiteral("the artwork is only %1x%1").arg(source.width());
    const QString path = iconPath(outDir, size, name);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QStringLiteral("cannot make the folder of %1").arg(path);
    const QImage scaled = source.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (!scaled.save(path, "PNG"))
        return QStringLiteral("cannot write %1").arg(path);
    const QImage back(path);
    if (back.width() != size || back.height() != size)
        return QStringLiteral("%1 reads back as %2x%3").arg(path).arg(back.width()).arg(back.height());
    return QString();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: make_icon_sizes SOURCE.png OUT_DIR NAME SIZE...\n");
        return 2;
    }
    const QImage source(args.at(1));
    if (source.isNull()) {
        std::fprintf(stderr, "make_icon_sizes: cannot read the artwork %s\n", qPrintable(args.at(1)));
        return 1;
    }
    if (source.width() != source.height()) {
        std::fprintf(stderr, "make_icon_sizes: the artwork %s is %dx%d, not square\n", qPrintable(args.at(1)),
                     source.width(), source.height());
        return 1;
    }
    const QImage rgba = source.convertToFormat(QImage::Format_ARGB32);
    int failures = 0;
    for (int i = 4; i < args.size(); ++i) {
        bool ok = false;
        const int size = args.at(i).toInt(&ok);
        const QString reason = ok ? makeSize(rgba, args.at(2), size, args.at(3)) : QStringLiteral("not a size");
        if (!reason.isEmpty()) {
            std::fprintf(stderr, "make_icon_sizes: icon size %s missing: %s\n", qPrintable(args.at(i)),
                         qPrintable(reason));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
