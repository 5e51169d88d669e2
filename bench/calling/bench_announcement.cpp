// How soon an announcement is heard and what lies between its clips: the time
// from appel() to the first sample handed to the device, the silence added
// between clips, and how long the device must bridge from its buffer while the
// next clip is read. Prints the figures; run by hand.

#include "calling/AlsaSink.h"
#include "calling/AnnouncementPlan.h"
#include "calling/Announcer.h"
#include "calling/ClipLibrary.h"
#include "calling/RecordingSink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Forwards to a real sink and notes when each clip's samples are handed over.
class TimingSink : public AudioSink
{
public:
    explicit TimingSink(std::unique_ptr<AudioSink> inner)
        : m_inner(std::move(inner))
    {
    }

    QElapsedTimer clock;
    qint64 firstWrite = -1; // ns after clock start
    QList<qint64> writeStarts, writeEnds; // ns
    qint64 samplesWritten = 0;

    void reset()
    {
        firstWrite = -1;
        writeStarts.clear();
        writeEnds.clear();
        samplesWritten = 0;
        clock.start();
    }

    bool open(const AudioFormat &format) override { return m_inner->open(format); }
    void write(const QString &clip, QByteArrayView samples) override
    {
        const qint64 now = clock.nsecsElapsed();
        if (firstWrite < 0)
            firstWrite = now;
        writeStarts << now;
        samplesWritten += samples.size() / 2;
        m_inner->write(clip, samples);
        writeEnds << clock.nsecsElapsed();
    }
    void close() override { m_inner->close(); }
    QString errorString() const override { return m_inner->errorString(); }

private:
    std::unique_ptr<AudioSink> m_inner;
};

struct Figures
{
    QList<double> firstSampleMs;
    QList<double> bridgeMs;
    qint64 addedSamples = 0;
};

double percentile(QList<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0.0
                            : values.at(qMin(values.size() - 1, qsizetype(p * (values.size() - 1) + 0.5)));
}

Figures run(std::unique_ptr<AudioSink> device, const QList<int> &numbers, int rounds)
{
    auto timing = std::make_unique<TimingSink>(std::move(device));
    TimingSink *sink = timing.get();
    Announcer announcer(std::move(timing), ClipLibrary());
    const ClipLibrary clips;
    Figures figures;
    for (int round = 0; round < rounds; ++round) {
        for (const int number : numbers) {
            qint64 expected = 0;
            for (const QString &name : AnnouncementPlan::clipsFor(number))
                expected += clips.clip(name).frameCount();
            sink->reset();
            announcer.appel(number);
            figures.firstSampleMs << sink->firstWrite / 1e6;
            for (qsizetype i = 1; i < sink->writeStarts.size(); ++i)
                figures.bridgeMs << (sink->writeStarts.at(i) - sink->writeEnds.at(i - 1)) / 1e6;
            figures.addedSamples += sink->samplesWritten - expected;
        }
    }
    return figures;
}

void print(QTextStream &out, const QString &title, const Figures &f)
{
    out << title << '\n';
    out << u"  appel -> first sample handed to the device: median %1 ms, p99 %2 ms, max %3 ms (%4 calls)\n"_s
               .arg(percentile(f.firstSampleMs, 0.5), 0, 'f', 3)
               .arg(percentile(f.firstSampleMs, 0.99), 0, 'f', 3)
               .arg(percentile(f.firstSampleMs, 1.0), 0, 'f', 3)
               .arg(f.firstSampleMs.size());
    out << u"  between two clips, the device plays from its buffer for: median %1 ms, max %2 ms\n"_s
               .arg(percentile(f.bridgeMs, 0.5), 0, 'f', 3)
               .arg(percentile(f.bridgeMs, 1.0), 0, 'f', 3);
    out << u"  silence added between clips: %1 samples\n"_s.arg(f.addedSamples);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QList<int> numbers { 0, 7, 100, 101, 250, 305, 888, 999, 1234 };
    const int rounds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100;

    print(out, u"Recording sink (clip look-up and reading only):"_s,
          run(std::make_unique<RecordingSink>(), numbers, rounds));

    const QString device = argc > 2 ? QString::fromLocal8Bit(argv[2]) : u"null"_s;
    AlsaSink probe(device);
    if (probe.open({ 24000, 1, 16 })) {
        probe.close();
        print(out, u"ALSA device \"%1\" (opening the device included):"_s.arg(device),
              run(std::make_unique<AlsaSink>(device), numbers, rounds));
    } else {
        out << u"ALSA device \"%1\": %2\n"_s.arg(device, probe.errorString());
    }
    out << u"(the device holds 100 ms ahead: a bridge below that is heard as no gap)\n"_s;
    return 0;
}
