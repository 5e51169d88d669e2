#include "calling/AlsaSink.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <alsa/asoundlib.h>
#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

// How much sound ALSA holds ahead of the speaker. Enough to load the next clip
// while the last one plays, small enough that the first word is heard at once.
constexpr unsigned int latencyMicroseconds = 100'000;

// alsa-lib prints its own complaints on stderr (a missing card, an unknown
// PCM); the station reports a missing device once, in its own words.
void quietAlsa(const char *, int, const char *, int, const char *, ...) { }

} // namespace

AlsaSink::AlsaSink(QString device)
    : m_device(std::move(device))
{
    static const bool quiet = [] {
        snd_lib_error_set_handler(quietAlsa);
        return true;
    }();
    Q_UNUSED(quiet);
}

AlsaSink::~AlsaSink()
{
    close();
}

bool AlsaSink::open(const AudioFormat &format)
{
    close();
    m_error.clear();
    m_failed = false;
    if (format.bitsPerSample != 16) {
        m_error = u"Sound device %1 cannot play %2"_s.arg(m_device, format.description());
        return false;
    }
    snd_pcm_t *pcm = nullptr;
    // Opened without blocking: a device that another program holds would
    // otherwise keep the station waiting until that program lets it go. The
    // writes then block again, which is what makes playback synchronous.
    int rc
        = snd_pcm_open(&pcm, m_device.toLocal8Bit().constData(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (rc < 0) {
        m_error = u"Sound device %1 cannot be opened: %2"_s.arg(m_device,
                                                                QString::fromLocal8Bit(snd_strerror(rc)));
        return false;
    }
    snd_pcm_nonblock(pcm, 0);
    rc = snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED,
                            unsigned(format.channels), unsigned(format.sampleRate), 1, latencyMicroseconds);
    if (rc < 0) {
        snd_pcm_close(pcm);
        m_error = u"Sound device %1 cannot play %2: %3"_s.arg(m_device, format.description(),
                                                              QString::fromLocal8Bit(snd_strerror(rc)));
        return false;
    }
    m_pcm = pcm;
    m_frameBytes = format.bytesPerFrame();
    return true;
}

void AlsaSink::write(const QString &, QByteArrayView samples)
{
    if (!m_pcm || m_failed)
        return;
    const char *at = samples.data();
    snd_pcm_uframes_t left = snd_pcm_uframes_t(samples.size() / m_frameBytes);
    while (left > 0) {
        snd_pcm_sframes_t written = snd_pcm_writei(m_pcm, at, left);
        if (written == -EAGAIN)
            continue;
        if (written < 0) {
            // An underrun (the machine was busy) is recovered and the stream goes
            // on; anything worse ends the sound of this announcement, silently.
            if (snd_pcm_recover(m_pcm, int(written), 1) < 0) {
                m_failed = true;
                return;
            }
            continue;
        }
        at += written * m_frameBytes;
        left -= snd_pcm_uframes_t(written);
    }
}

void AlsaSink::close()
{
    if (!m_pcm)
        return;
    if (!m_failed)
        snd_pcm_drain(m_pcm);
    snd_pcm_close(m_pcm);
    m_pcm = nullptr;
}

QString AlsaSink::configuredDevice(const QString &directory)
{
    const QString path = QDir(directory).filePath(u"station.ini"_s);
    if (QFileInfo::exists(path)) {
        QSettings ini(path, QSettings::IniFormat);
        // QSettings splits an unquoted value at commas: "plughw:0,0" comes back as a list.
        const QString device = ini.value(u"audio/device"_s).toStringList().join(u',').trimmed();
        if (!device.isEmpty())
            return device;
    }
    return u"default"_s;
}
