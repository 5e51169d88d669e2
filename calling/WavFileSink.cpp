#include "calling/WavFileSink.h"

#include "app/StationError.h"
#include "calling/WaveWriter.h"

#include <QSaveFile>

using namespace Qt::StringLiterals;

WavFileSink::WavFileSink(QString fileName)
    : m_fileName(std::move(fileName))
{
}

bool WavFileSink::open(const AudioFormat &format)
{
    m_format = format;
    m_samples.clear();
    m_open = true;
    return true;
}

void WavFileSink::write(const QString &, QByteArrayView samples)
{
    if (m_open)
        m_samples.append(samples.data(), samples.size());
}

void WavFileSink::abort()
{
    m_open = false;
    m_samples.clear();
}

void WavFileSink::close()
{
    if (!m_open)
        return;
    m_open = false;
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw StationError(u"Cannot write %1: %2"_s.arg(m_fileName, file.errorString()));
    file.write(WaveWriter::image(m_format, m_samples, { { "ISFT", "kitchen-tool announce" } }));
    if (!file.commit())
        throw StationError(u"Cannot write %1: %2"_s.arg(m_fileName, file.errorString()));
    m_samples.clear();
}
