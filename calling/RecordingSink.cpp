#include "calling/RecordingSink.h"

#include "app/StationError.h"

using namespace Qt::StringLiterals;

bool RecordingSink::open(const AudioFormat &format)
{
    ++m_openAttempts;
    if (m_open)
        throw StationError(u"RecordingSink: a stream was opened twice without close()"_s);
    if (!m_available)
        return false;
    m_streams.append({ format, {}, {}, false });
    m_open = true;
    return true;
}

void RecordingSink::write(const QString &clipName, QByteArrayView samples)
{
    if (!m_open)
        throw StationError(u"RecordingSink: %1 written outside a stream"_s.arg(clipName));
    m_streams.last().clips.append(clipName);
    m_streams.last().samples.append(samples.data(), samples.size());
}

void RecordingSink::close()
{
    if (m_open)
        m_streams.last().closed = true;
    m_open = false;
}

QString RecordingSink::errorString() const
{
    return m_available ? QString() : u"no sound device (recording sink set unavailable)"_s;
}
