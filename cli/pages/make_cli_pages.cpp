// Writes tavlo's manual page and its bash, zsh and fish completions from the command line's
// table (CliHelpTable), so that they name what "tavlo --help" names.
//
//   make_cli_pages TEMPLATE OUTPUT_FOLDER
//
// TEMPLATE is the manual page's hand-written roff with the made parts' names in it (ManPage);
// the folder gets tavlo.1, tavlo.bash, _tavlo and tavlo.fish.
#include "BashCompletion.h"
#include "FishCompletion.h"
#include "ManPage.h"
#include "ZshCompletion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cstdio>

namespace {

bool write(const QString& path, const QString& text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        std::fprintf(stderr, "make_cli_pages: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: make_cli_pages TEMPLATE OUTPUT_FOLDER\n");
        return 2;
    }
    QFile in(args.at(1));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_cli_pages: cannot read %s: %s\n", qPrintable(args.at(1)),
                     qPrintable(in.errorString()));
        return 1;
    }
    QString missing;
    const QString page = ManPage::fromTemplate(QString::fromUtf8(in.readAll()), &missing);
    if (page.isEmpty()) {
        std::fprintf(stderr, "make_cli_pages: %s has no line %s\n", qPrintable(args.at(1)), qPrintable(missing));
        return 1;
    }
    const QDir out(args.at(2));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "make_cli_pages: cannot make %s\n", qPrintable(out.path()));
        return 1;
    }
    const bool written = write(out.filePath(QStringLiteral("tavlo.1")), page)
        && write(out.filePath(QStringLiteral("tavlo.bash")), BashCompletion::script())
        && write(out.filePath(QStringLiteral("_tavlo")), ZshCompletion::script())
        && write(out.filePath(QStringLiteral("tavlo.fish")), FishCompletion::script());
    return written ? 0 : 1;
}
