#include "calling/Announcer.h"

#include "app/StationError.h"
#include "calling/AlsaSink.h"
#include "calling/AnnouncementPlan.h"

#include <QDir>

using namespace Qt::StringLiterals;

Announcer::Announcer(QObject *parent)
    : Announcer(std::make_unique<AlsaSink>(AlsaSink::configuredDevice(QDir::currentPath())), ClipLibrary(),
                parent)
{
}

Announcer::Announcer(std::unique_ptr<AudioSink> sink, ClipLibrary clips, QObject *parent)
    : QObject(parent)
    , m_sink(std::move(sink))
    , m_clips(std::move(clips))
{
}

Announcer::~Announcer() = default;

void Announcer::appel(int number)
{
    play(AnnouncementPlan::clipsFor(number));
}

void Announcer::play(const QStringList &clipNames)
{
    bool streaming = false;
    AudioFormat format;
    try {
        for (const QString &name : clipNames) {
            // Each clip is read just before it is needed: the one before it is
            // still in the device's buffer, so reading adds no silence.
            const WaveClip clip = m_clips.clip(name);
            if (!streaming) {
                if (!m_sink->open(clip.format)) {
                    if (!m_unavailableReported) {
                        m_unavailableReported = true;
                        Q_EMIT soundUnavailable(m_sink->errorString());
                    }
                    return;
                }
                streaming = true;
                format = clip.format;
            } else if (clip.format != format) {
                throw StationError(
                    u"Voice clip %1 cannot be played: it is in %2, the clips before it in %3"_s.arg(
                        name, clip.format.description(), format.description()));
            }
            m_sink->write(name, clip.samples);
        }
    } catch (...) {
        if (streaming)
            m_sink->abort();
        throw;
    }
    if (streaming)
        m_sink->close();
}
