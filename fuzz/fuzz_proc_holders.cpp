// Who holds a volume, from what /proc tells: the input is a root and rows of a comm text and
// link targets (fields end at a zero byte, rows at 0x01). A named holder always has a path on
// the volume; a name is one line without control characters or blanks at its ends; each name
// comes once and at most five; "/" and an empty root are held by nobody.
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "ProcHolders.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    const QString root = QString::fromStdString(in.field());
    QList<ProcHolders::Process> processes;
    while (!in.atEnd() && processes.size() < 64) {
        const std::string row = in.field(0x01);
        FuzzInput cells(reinterpret_cast<const std::uint8_t*>(row.data()), row.size());
        ProcHolders::Process process;
        process.comm = QByteArray::fromStdString(cells.field());
        while (!cells.atEnd())
            process.paths << QByteArray::fromStdString(cells.field());
        processes << process;
    }

    const QStringList names = ProcHolders::holders(processes, root);
    FUZZ_CHECK(names.size() <= ProcHolders::kMostNames);
    QStringList unique = names;
    FUZZ_CHECK(unique.removeDuplicates() == 0);
    for (const QString& name : names) {
        FUZZ_CHECK(!name.isEmpty() && name == name.trimmed());
        FUZZ_CHECK(!name.contains(QLatin1Char('\n')));
        for (const QChar ch : name)
            FUZZ_CHECK(ch.category() != QChar::Other_Control);
        bool held = false;
        for (const ProcHolders::Process& process : processes) {
            const QString own = ProcHolders::programName(process.comm);
            if (own == name || (own.isEmpty() && name == QStringLiteral("?")))
                for (const QByteArray& path : process.paths)
                    held = held || ProcHolders::isOnVolume(path, root);
        }
        FUZZ_CHECK(held);
    }
    FUZZ_CHECK(ProcHolders::holders(processes, QStringLiteral("/")).isEmpty());
    FUZZ_CHECK(ProcHolders::holders(processes, QString()).isEmpty());
    for (const ProcHolders::Process& process : processes)
        for (const QByteArray& path : process.paths)
            if (ProcHolders::isOnVolume(path, root))
                FUZZ_CHECK(path.startsWith('/'));
    return 0;
}
