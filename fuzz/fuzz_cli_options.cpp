// The command line of tavlo: words separated by NUL bytes. Whatever the words, the parse
// ends in exactly one of: an error sentence, a request for help or the version, or a
// command; a command line that is accepted names one command, never both --file and
// --version, and only carries the options of that command; the parse is repeatable.
#include "CliOptions.h"
#include "FuzzCheck.h"
#include "FuzzInput.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    QStringList words;
    while (!input.atEnd() && words.size() < 64)
        words << QString::fromUtf8(QByteArray::fromStdString(input.field(0x00)));

    const CliOptions o = CliOptions::parse(words);
    const CliOptions again = CliOptions::parse(words);
    FUZZ_CHECK(o.error == again.error && o.command == again.command && o.file == again.file);
    if (!o.ok())
        return 0;
    if (o.help || o.showVersion)
        return 0;
    FUZZ_CHECK(o.command != CliOptions::Command::None);
    FUZZ_CHECK(o.file.isEmpty() || o.version.isEmpty());
    if (o.command != CliOptions::Command::Update)
        FUZZ_CHECK(o.file.isEmpty() && o.version.isEmpty() && !o.yes && !o.allowDowngrade);
    if (o.command != CliOptions::Command::Transfer)
        FUZZ_CHECK(!o.done);
    return 0;
}
