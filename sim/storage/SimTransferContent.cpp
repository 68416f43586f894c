#include "SimTransferContent.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSet>

#include <algorithm>
#include <cstring>

const char* const SimTransferContent::kUnreadableFile = "projects/Worn card/broken.tvp";

namespace {
constexpr qint64 kKiB = 1024;
constexpr qint64 kMiB = 1024 * kKiB;
constexpr qint64 kBufferBytes = kMiB;

// splitmix64: small, fast and the same everywhere.
struct Rng
{
    quint64 state;
    quint64 next()
    {
        quint64 z = (state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    qint64 between(qint64 low, qint64 high) { return low + qint64(next() % quint64(high - low + 1)); }
    QString pick(const QStringList& words) { return words.at(qsizetype(next() % quint64(words.size()))); }
};

enum class Body { Noise, Midi, Text };

const QStringList& words()
{
    static const QStringList w{
        QStringLiteral("Bass"),    QStringLiteral("Lead"),   QStringLiteral("Pad"),    QStringLiteral("Arp"),
        QStringLiteral("Drums"),   QStringLiteral("Intro"),  QStringLiteral("Verse"),  QStringLiteral("Chorus"),
        QStringLiteral("Bridge"),  QStringLiteral("Outro"),  QStringLiteral("Night"),  QStringLiteral("Drive"),
        QStringLiteral("Séance"),  QStringLiteral("Fjäll"),  QStringLiteral("Über"),   QStringLiteral("Café"),
        QStringLiteral("Straße"),  QStringLiteral("Málaga"), QStringLiteral("Ørsted"), QStringLiteral("Zoë"),
        QStringLiteral("Kyōto"),   QStringLiteral("Łódź"),   QStringLiteral("Tide"),   QStringLiteral("Glass")};
    return w;
}

const QStringList& instruments()
{
    static const QStringList w{QStringLiteral("Mono synth"), QStringLiteral("Poly synth"),
                               QStringLiteral("Drum machine"), QStringLiteral("Modular case"),
                               QStringLiteral("Sampler"), QStringLiteral("Effects rack"),
                               QStringLiteral("Bass station"), QStringLiteral("Organ")};
    return w;
}

// Writes files and folders below one root, never two entries of one name in a folder
// (compared without case, as on the instrument's FAT card).
class Writer
{
public:
    Writer(const QString& folder, quint64 seed) : rng{seed}, root(folder) {}

    bool folder(const QString& relative)
    {
        if (root.mkpath(relative))
            return true;
        return fail(QStringLiteral("Could not create the folder %1.").arg(root.filePath(relative)));
    }

    // A file of exactly size bytes: the header, then a body of this kind.
    bool file(const QString& wanted, qint64 size, const QByteArray& header, Body body)
    {
        const QString relative = unique(wanted);
        const int slash = relative.lastIndexOf(QLatin1Char('/'));
        if (slash > 0 && !folder(relative.left(slash)))
            return false;
        QFile out(root.filePath(relative));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return fail(QStringLiteral("Could not create %1: %2").arg(out.fileName(), out.errorString()));
        Rng bytes{rng.next()};
        qint64 left = size;
        bool first = true;
        while (left > 0) {
            const qint64 n = std::min(left, kBufferBytes);
            fillBody(bytes, body, n);
            if (first)
                buffer.replace(0, std::min<qsizetype>(header.size(), qsizetype(n)), header.left(qsizetype(n)));
            first = false;
            if (out.write(buffer.constData(), n) != n)
                return fail(QStringLiteral("Could not write %1: %2").arg(out.fileName(), out.errorString()));
            left -= n;
        }
        return true;
    }

    QString error;
    Rng rng;

private:
    bool fail(const QString& message)
    {
        error = message;
        return false;
    }

    QString unique(const QString& wanted)
    {
        QString candidate = wanted;
        const int dot = wanted.lastIndexOf(QLatin1Char('.'));
        const int slash = wanted.lastIndexOf(QLatin1Char('/'));
        const QString stem = dot > slash ? wanted.left(dot) : wanted;
        const QString ext = dot > slash ? wanted.mid(dot) : QString();
        for (int n = 2; taken.contains(candidate.toCaseFolded()); ++n)
            candidate = QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(ext);
        taken.insert(candidate.toCaseFolded());
        return candidate;
    }

    void fillBody(Rng& bytes, Body body, qint64 n)
    {
        buffer.resize(qsizetype(n));
        char* p = buffer.data();
        if (body == Body::Noise) {
            qint64 i = 0;
            for (; i + 8 <= n; i += 8) {
                const quint64 v = bytes.next();
                memcpy(p + i, &v, 8);
            }
            const quint64 v = bytes.next();
            memcpy(p + i, &v, size_t(n - i));
        } else if (body == Body::Midi) {
            // Note on, a beat, note off, a beat: what a clip mostly holds.
            for (qint64 i = 0; i < n; i += 8) {
                const quint64 v = bytes.next();
                const char note = char(36 + v % 48);
                const char event[8] = {0x00, char(0x90), note, char(40 + (v >> 8) % 80),
                                       char(0x60), char(0x80), note, 0x00};
                memcpy(p + i, event, size_t(std::min<qint64>(8, n - i)));
            }
        } else {
            const QList<QByteArray>& lines = textLines();
            qint64 i = 0;
            while (i < n) {
                const QByteArray& line = lines.at(qsizetype(bytes.next() % quint64(lines.size())));
                const qint64 take = std::min<qint64>(line.size(), n - i);
                memcpy(p + i, line.constData(), size_t(take));
                i += take;
            }
        }
    }

    // Lines of a definition ("cc 74 = Glass Mono synth"), made once.
    static const QList<QByteArray>& textLines()
    {
        static const QList<QByteArray> lines = [] {
            QList<QByteArray> made;
            Rng r{SimTransferContent::kSeed};
            for (int i = 0; i < 256; ++i) {
                const quint64 v = r.next();
                made << QStringLiteral("cc %1 = %2 %3\n")
                            .arg(v % 128)
                            .arg(words().at(qsizetype((v >> 8) % quint64(words().size()))),
                                 instruments().at(qsizetype((v >> 16) % quint64(instruments().size()))))
                            .toUtf8();
            }
            return made;
        }();
        return lines;
    }

    QDir root;
    QSet<QString> taken;
    QByteArray buffer;
};

QByteArray midiHeader()
{
    return QByteArrayLiteral("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xe0MTrk");
}

QByteArray wavHeader()
{
    return QByteArrayLiteral("RIFF\xff\xff\xff\xffWAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00"
                             "\x80\xbb\x00\x00\x00\xee\x02\x00\x04\x00\x10\x00data");
}

const QByteArray kProject = QByteArrayLiteral("TVPJ\x01\x05");
const QByteArray kPattern = QByteArrayLiteral("TVPT\x01\x02");
const QByteArray kGroove = QByteArrayLiteral("TVGR\x01\x00");

struct Plan
{
    int sets, patterns, clips, definitions, grooves;
    qint64 smallest, largest;
    bool samples;
};
} // namespace

bool SimTransferContent::fill(const QString& folder, Scale scale, bool unreadableFile, QString* error)
{
    const Plan plan = scale == Scale::Tiny ? Plan{3, 3, 6, 3, 4, 1 * kKiB, 16 * kKiB, false}
                                           : Plan{8, 24, 90, 30, 60, 1 * kKiB, 64 * kKiB, true};
    Writer w(folder, kSeed);
    // Every draw from the generator in a statement of its own: the order of a call's
    // arguments is the compiler's choice, the content must not be.
    const auto put = [&](const QString& path, const QByteArray& header, Body body) {
        const qint64 size = w.rng.between(plan.smallest, plan.largest);
        return w.file(path, body == Body::Text ? size / 4 + 64 : size, header, body);
    };
    const auto named = [&](const QString& pattern, int n) {
        const QString first = w.rng.pick(words());
        const QString second = w.rng.pick(words());
        return pattern.arg(first, second).arg(n, 2, 10, QLatin1Char('0'));
    };
    bool ok = w.folder(QStringLiteral("projects")) && w.folder(QStringLiteral("instrument_definitions"))
              && w.folder(QStringLiteral("MIDI_Clips")) && w.folder(QStringLiteral("grooves"))
              && w.folder(QStringLiteral("projects/New set")) // empty: a set started, nothing saved
              && put(QStringLiteral("projects/Grüße an Zoë.tvp"), kProject, Body::Noise)
              && put(QStringLiteral("MIDI_Clips/Ørsted – live.mid"), midiHeader(), Body::Midi)
              && w.file(QStringLiteral("projects/Live set 2/notes.txt"), 0, {}, Body::Text)
              && w.file(QStringLiteral("grooves/untitled.tvgrv"), 0, {}, Body::Noise);
    for (int set = 1; ok && set <= plan.sets; ++set) {
        const QString base = QStringLiteral("projects/Live set %1/").arg(set);
        ok = put(base + QStringLiteral("Live set %1.tvp").arg(set), kProject, Body::Noise);
        for (int p = 1; ok && p <= plan.patterns; ++p) {
            // Live set 3 keeps some of its patterns one level deeper.
            const QString sub = set == 3 && p % 3 == 0 ? QStringLiteral("patterns/Variations/")
                                                       : QStringLiteral("patterns/");
            ok = put(named(base + sub + QStringLiteral("%1 %2 %3.tvpat"), p), kPattern, Body::Noise);
        }
    }
    for (int c = 1; ok && c <= plan.clips; ++c)
        ok = put(named(QStringLiteral("MIDI_Clips/%1 %2 %3.mid"), c), midiHeader(), Body::Midi);
    for (int d = 1; ok && d <= plan.definitions; ++d) {
        const QString kind = w.rng.pick(instruments());
        ok = put(QStringLiteral("instrument_definitions/%1 %2.tvdef").arg(kind).arg(d), {}, Body::Text);
    }
    for (int g = 1; ok && g <= plan.grooves; ++g)
        ok = put(named(QStringLiteral("grooves/%1 %2 swing %3.tvgrv"), g), kGroove, Body::Noise);
    const QStringList samples{QStringLiteral("projects/Live set 1/samples/Field recording – Ålesund.wav"),
                              QStringLiteral("projects/Live set 3/samples/Drone take 2.wav"),
                              QStringLiteral("projects/Live set 5/Render (final).wav")};
    for (qsizetype i = 0; ok && plan.samples && i < samples.size(); ++i) {
        const qint64 size = (18 + 4 * i) * kMiB + w.rng.between(0, 2 * kMiB);
        ok = w.file(samples.at(i), size, wavHeader(), Body::Noise);
    }
    if (ok && unreadableFile) {
        ok = w.file(QString::fromLatin1(kUnreadableFile), 3 * kKiB, kProject, Body::Noise);
        if (ok && !QFile::setPermissions(QDir(folder).filePath(QString::fromLatin1(kUnreadableFile)), {})) {
            w.error = QStringLiteral("Could not take the permissions of %1.").arg(QString::fromLatin1(kUnreadableFile));
            ok = false;
        }
    }
    if (!ok && error)
        *error = w.error;
    return ok;
}

bool SimTransferContent::makeTree(const QString& folder, qint64 totalBytes, quint64 seed, QString* error)
{
    const QStringList tops{QStringLiteral("projects"), QStringLiteral("instrument_definitions"),
                           QStringLiteral("MIDI_Clips"), QStringLiteral("grooves")};
    Writer w(folder, seed);
    bool ok = true;
    for (const QString& top : tops)
        ok = ok && w.folder(top);
    qint64 left = totalBytes;
    QString current = tops.first();
    for (int n = 1; ok && left > 0; ++n) {
        if (n % 40 == 1) { // a new folder now and then, one to three levels deep
            current = w.rng.pick(tops);
            for (qint64 depth = w.rng.between(1, 3); depth > 0; --depth) {
                const QString word = w.rng.pick(words());
                current += QStringLiteral("/%1 %2").arg(word).arg(n);
            }
        }
        const qint64 roll = w.rng.between(0, 99);
        qint64 size = roll < 80   ? w.rng.between(1 * kKiB, 64 * kKiB)
                      : roll < 97 ? w.rng.between(64 * kKiB, 4 * kMiB)
                                  : w.rng.between(8 * kMiB, 48 * kMiB);
        size = std::min(size, left);
        const QString word = w.rng.pick(words());
        const QString name = QStringLiteral("%1/%2 %3").arg(current, word).arg(n);
        if (current.startsWith(QLatin1String("MIDI_Clips")))
            ok = w.file(name + QStringLiteral(".mid"), size, midiHeader(), Body::Midi);
        else if (current.startsWith(QLatin1String("instrument_definitions")))
            ok = w.file(name + QStringLiteral(".tvdef"), size, {}, Body::Text);
        else if (size >= 4 * kMiB)
            ok = w.file(name + QStringLiteral(".wav"), size, wavHeader(), Body::Noise);
        else
            ok = w.file(name + QStringLiteral(".tvpat"), size, kPattern, Body::Noise);
        left -= size;
    }
    if (!ok && error)
        *error = w.error;
    return ok;
}

QStringList SimTransferContent::manifest(const QString& folder)
{
    QStringList lines;
    const QDir root(folder);
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        const QString relative = root.relativeFilePath(info.filePath());
        if (info.isSymLink()) {
            lines << relative + QStringLiteral(" -> ") + info.symLinkTarget();
        } else if (info.isDir()) {
            lines << relative + QLatin1Char('/');
        } else {
            QFile file(info.filePath());
            QCryptographicHash hash(QCryptographicHash::Sha256);
            const bool read = file.open(QIODevice::ReadOnly) && hash.addData(&file);
            lines << QStringLiteral("%1\t%2\t%3").arg(relative).arg(info.size())
                         .arg(read ? QString::fromLatin1(hash.result().toHex()) : QStringLiteral("unreadable"));
        }
    }
    lines.sort();
    return lines;
}
